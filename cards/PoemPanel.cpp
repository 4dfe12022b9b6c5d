#include "PoemPanel.h"

#include "CardCatalog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHash>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// The reading as HTML with its first `marked` kana (blanks not counted) in
// bold red: the part that decided the card.
QString markedReading(const QString &reading, int marked)
{
    QString head;
    qsizetype i = 0;
    for (int kana = 0; i < reading.size() && kana < marked; ++i) {
        head += reading.at(i);
        if (reading.at(i) != QLatin1Char(' '))
            ++kana;
    }
    return QStringLiteral("<b><font color=\"#c0392b\">%1</font></b>%2")
        .arg(head.toHtmlEscaped(), reading.mid(i).toHtmlEscaped());
}

QString colourName(const QString &colour)
{
    if (colour == QLatin1String("blue"))
        return PoemPanel::tr("青");
    if (colour == QLatin1String("pink"))
        return PoemPanel::tr("桃");
    if (colour == QLatin1String("yellow"))
        return PoemPanel::tr("黄");
    if (colour == QLatin1String("green"))
        return PoemPanel::tr("緑");
    if (colour == QLatin1String("orange"))
        return PoemPanel::tr("橙");
    return colour;
}

QString swatch(const QString &colour)
{
    static const QHash<QString, QString> rgb = {
        {QStringLiteral("blue"), QStringLiteral("#2e6fd8")},
        {QStringLiteral("pink"), QStringLiteral("#e87ea1")},
        {QStringLiteral("yellow"), QStringLiteral("#e8c31c")},
        {QStringLiteral("green"), QStringLiteral("#3c9a4a")},
        {QStringLiteral("orange"), QStringLiteral("#ee7d22")}};
    return QStringLiteral("<font color=\"%1\">■</font> ").arg(rgb.value(colour));
}

} // namespace

PoemPanel::PoemPanel(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("PoemPanel"));
    setWindowTitle(tr("歌"));
    setMinimumWidth(340);

    revealBox = new QComboBox(this);
    revealBox->setObjectName(QStringLiteral("revealBox"));
    revealBox->addItem(tr("上の句で表示"));
    revealBox->addItem(tr("下の句の後に表示"));
    revealBox->addItem(tr("読み終わってから表示"));
    revealBox->setCurrentIndex(static_cast<int>(revealOption));
    connect(revealBox, &QComboBox::currentIndexChanged, this,
            [this](int index) { setReveal(static_cast<ViewSettings::PoemReveal>(index)); });

    title = new QLabel(this);
    poem = new QLabel(this);
    reading = new QLabel(this);
    kimariji = new QLabel(this);
    colour = new QLabel(this);
    QFont poemFont = poem->font();
    poemFont.setPointSizeF(poemFont.pointSizeF() * 1.5);
    poem->setFont(poemFont);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);
    for (QLabel *label : {title, poem, reading, kimariji, colour}) {
        label->setTextFormat(Qt::RichText);
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

    auto *form = new QFormLayout;
    form->addRow(tr("読み"), reading);
    form->addRow(tr("決まり字"), kimariji);
    form->addRow(tr("五色"), colour);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(revealBox);
    layout->addWidget(title);
    layout->addWidget(poem);
    layout->addLayout(form);
    layout->addStretch();
    showCard(0, 0);
}

void PoemPanel::setReveal(ViewSettings::PoemReveal option)
{
    if (option == revealOption)
        return;
    revealOption = option;
    revealBox->setCurrentIndex(static_cast<int>(option));
    emit revealChanged(option);
}

void PoemPanel::readingStarted()
{
    pendingCard = 0;
    pendingLength = 0;
    showCard(0, 0);
}

void PoemPanel::upperStarted(int card, int currentLength)
{
    pendingCard = card;
    pendingLength = currentLength;
    at(ViewSettings::ReadingMoment::UpperStarted);
}

void PoemPanel::lowerEnded()
{
    at(ViewSettings::ReadingMoment::LowerEnded);
}

void PoemPanel::readingOver()
{
    at(ViewSettings::ReadingMoment::ReadingOver);
}

void PoemPanel::at(ViewSettings::ReadingMoment moment)
{
    if (ViewSettings::reveals(revealOption, moment))
        showCard(pendingCard, pendingLength);
    else if (moment == ViewSettings::ReadingMoment::UpperStarted)
        showCard(0, 0); // the card before must not give this one away
}

void PoemPanel::showCard(int card, int currentLength)
{
    const CardInfo info = CardCatalog::builtIn().card(card);
    shown = info.number;
    if (shown == 0) {
        title->setText(tr("読まれた札がここに表示されます"));
        for (QLabel *label : {poem, reading, kimariji, colour})
            label->clear();
        return;
    }
    title->setText(tr("第%1首　%2（%3）")
                       .arg(QString::number(card), info.poet.toHtmlEscaped(),
                            info.poetReading.toHtmlEscaped()));
    // Two lines of Japanese data: markup, not text to translate.
    poem->setText(QStringLiteral("%1<br>%2")
                      .arg(info.phrases.mid(0, 3).join(QLatin1Char(' ')).toHtmlEscaped(),
                           info.phrases.mid(3).join(QLatin1Char(' ')).toHtmlEscaped()));
    reading->setText(QStringLiteral("%1<br>%2")
                         .arg(markedReading(info.upperReading, currentLength),
                              info.lowerReading.toHtmlEscaped()));
    const QString current = info.kimariji.left(currentLength);
    // The static syllables with the part that decides now marked.
    kimariji->setText(
        tr("%1（今: %2）")
            .arg(markedReading(info.kimariji, currentLength), current.toHtmlEscaped()));
    colour->setText(QStringLiteral("%1%2").arg(swatch(info.colour), colourName(info.colour)));
}

void PoemPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    emit visibilityChanged(true);
}

void PoemPanel::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    emit visibilityChanged(false);
}
