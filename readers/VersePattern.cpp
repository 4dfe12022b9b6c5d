#include "VersePattern.h"

VersePattern::VersePattern(const QString &pattern)
    : text(pattern)
{
    static const QRegularExpression placeholder(
        QStringLiteral("\\{card(?::0(\\d))?\\}|\\{half\\}"));
    QString regex = QStringLiteral("^");
    int cards = 0, halves = 0;
    qsizetype from = 0;
    auto it = placeholder.globalMatch(pattern);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        regex += QRegularExpression::escape(pattern.mid(from, m.capturedStart() - from));
        if (m.captured(0) == QLatin1String("{half}")) {
            regex += QStringLiteral("(?<half>[12])");
            ++halves;
        } else {
            const QString width = m.captured(1);
            regex += width.isEmpty() ? QStringLiteral("(?<card>\\d{1,3})")
                                     : QStringLiteral("(?<card>\\d{%1})").arg(width);
            ++cards;
        }
        from = m.capturedEnd();
    }
    regex += QRegularExpression::escape(pattern.mid(from)) + QLatin1Char('$');
    expression = QRegularExpression(regex, QRegularExpression::CaseInsensitiveOption);
    valid = cards == 1 && halves == 1 && expression.isValid() && !pattern.contains(QLatin1Char('/'))
        && !pattern.contains(QLatin1Char('\\'));
}

VerseFileName VersePattern::match(const QString &fileName, const QString &prefix) const
{
    if (!valid)
        return {};
    const QRegularExpressionMatch m = expression.match(fileName);
    if (!m.hasMatch())
        return {};
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    // Parsed back from the library's own name, so the card range and the
    // extensions are the same as for PREFIX_NNN_H files.
    return VerseFileName::parse(QString::asprintf("%s_%03d_%d", qUtf8Printable(prefix),
                                                  m.captured(u"card").toInt(),
                                                  m.captured(u"half").toInt())
                                + fileName.mid(dot));
}
