#include "PoemPanel.h"

#include "CardCatalog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHash>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

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

// What the panel's labels say for one card.
struct PanelTexts
{
    QString title;
    QString poem;
    QString reading;
    QString kimariji;
    QString changed;
    QString colour;
};

PanelTexts textsFor(int card, int currentLength, const QList<KimarijiChange> &changes)
{
    const CardCatalog &catalog = CardCatalog::builtIn();
    const CardInfo info = catalog.card(card);
    PanelTexts texts;
    if (info.number == 0) {
        texts.title = PoemPanel::tr("読まれた札がここに表示されます");
        return texts;
    }
    texts.title = PoemPanel::tr("第%1首　%2（%3）")
                      .arg(QString::number(card), info.poet.toHtmlEscaped(),
                           info.poetReading.toHtmlEscaped());
    // Two lines of Japanese data: markup, not text to translate.
    texts.poem = QStringLiteral("%1<br>%2")
                     .arg(info.phrases.mid(0, 3).join(QLatin1Char(' ')).toHtmlEscaped(),
                          info.phrases.mid(3).join(QLatin1Char(' ')).toHtmlEscaped());
    texts.reading = QStringLiteral("%1<br>%2")
                        .arg(markedReading(info.upperReading, currentLength),
                             info.lowerReading.toHtmlEscaped());
    const QString current = info.kimariji.left(currentLength);
    // The static syllables with the part that decides now marked.
    texts.kimariji = PoemPanel::tr("%1（今: %2）")
                         .arg(markedReading(info.kimariji, currentLength), current.toHtmlEscaped());
    texts.changed = KimarijiChanges::describe(changes, catalog).toHtmlEscaped();
    texts.colour = QStringLiteral("%1%2").arg(swatch(info.colour), colourName(info.colour));
    return texts;
}

} // namespace

PoemPanel::PoemPanel(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("PoemPanel"));
    setWindowTitle(tr("歌"));

    // The title is the panel's first label: the card read shows there.
    title = new QLabel(this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);

    revealBox = new QComboBox(this);
    revealBox->setObjectName(QStringLiteral("revealBox"));
    revealBox->addItem(tr("上の句が始まったら表示"));
    revealBox->addItem(tr("下の句の後に表示"));
    revealBox->addItem(tr("読み上げがすべて終わったら表示"));
    revealBox->setCurrentIndex(static_cast<int>(cards.option()));
    connect(revealBox, &QComboBox::currentIndexChanged, this,
            [this](int index) { setReveal(static_cast<ViewSettings::PoemReveal>(index)); });
    auto *revealLabel = new QLabel(tr("表示のタイミング(&T):"), this);
    revealLabel->setBuddy(revealBox);

    statusCardBox = new QCheckBox(tr("状況欄の札も同じときに表示する(&S)"), this);
    statusCardBox->setObjectName(QStringLiteral("statusCardBox"));
    connect(statusCardBox, &QCheckBox::toggled, this, &PoemPanel::statusCardWithPanelChanged);

    poem = new QLabel(this);
    reading = new QLabel(this);
    kimariji = new QLabel(this);
    changed = new QLabel(this);
    changed->setObjectName(QStringLiteral("changedLabel"));
    colour = new QLabel(this);
    QFont poemFont = poem->font();
    poemFont.setPointSizeF(poemFont.pointSizeF() * 1.5);
    poem->setFont(poemFont);
    for (QLabel *label : {title, poem, reading, kimariji, changed, colour}) {
        label->setTextFormat(Qt::RichText);
        // Lines are never broken: a break would split a phrase mid-word.
        label->setWordWrap(false);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

    auto *choices = new QFormLayout;
    choices->addRow(revealLabel, revealBox);
    choices->addRow(statusCardBox);

    auto *form = new QFormLayout;
    form->addRow(tr("読み"), reading);
    form->addRow(tr("決まり字"), kimariji);
    form->addRow(tr("短くなった決まり字"), changed);
    form->addRow(tr("五色"), colour);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(title);
    layout->addWidget(poem);
    layout->addLayout(form);
    layout->addStretch();
    showCard(0, 0);
}

void PoemPanel::reserveRoomForEveryCard()
{
    const QList<QLabel *> labels {title, poem, reading, kimariji, changed, colour};
    QStringList shownTexts;
    for (const QLabel *label : labels)
        shownTexts.append(label->text());
    QList<QSize> room(labels.size());
    const auto measure = [&labels, &room](const PanelTexts &texts) {
        const QStringList each {texts.title,    texts.poem,    texts.reading,
                                texts.kimariji, texts.changed, texts.colour};
        for (qsizetype i = 0; i < labels.size(); ++i) {
            labels.at(i)->setText(each.at(i));
            room[i] = room.at(i).expandedTo(labels.at(i)->sizeHint());
        }
    };
    measure(textsFor(0, 0, {}));
    const CardCatalog &catalog = CardCatalog::builtIn();
    for (int card : catalog.numbers()) {
        // Everything marked is the widest a reading gets; the card's own
        // syllables stand in for the longest change it could show.
        const int length = static_cast<int>(catalog.card(card).kimariji.size());
        measure(textsFor(card, 99, {{card, length, std::max(length - 1, 1)}}));
    }
    for (qsizetype i = 0; i < labels.size(); ++i) {
        labels.at(i)->setText(shownTexts.at(i));
        labels.at(i)->setMinimumSize(room.at(i));
    }
}

void PoemPanel::setVisible(bool visible)
{
    if (visible && !roomReserved) {
        roomReserved = true;
        reserveRoomForEveryCard();
    }
    QWidget::setVisible(visible);
}

void PoemPanel::setReveal(ViewSettings::PoemReveal option)
{
    if (option == cards.option())
        return;
    cards.setOption(option);
    revealBox->setCurrentIndex(static_cast<int>(option));
    emit revealChanged(option);
}

bool PoemPanel::statusCardWithPanel() const
{
    return statusCardBox->isChecked();
}

void PoemPanel::setStatusCardWithPanel(bool on)
{
    statusCardBox->setChecked(on);
}

void PoemPanel::readingStarted()
{
    cards.readingStarted();
    pendingCard = 0;
    pendingLength = 0;
    pendingChanges.clear();
    showCard(0, 0);
}

void PoemPanel::upperStarted(int card, int currentLength)
{
    upperStarted(card, currentLength, {});
}

void PoemPanel::upperStarted(int card, int currentLength, const QList<KimarijiChange> &changes)
{
    pendingCard = card;
    pendingLength = currentLength;
    pendingChanges = changes;
    if (cards.upperStarted(card))
        showRevealed();
}

void PoemPanel::lowerEnded()
{
    if (cards.lowerEnded())
        showRevealed();
}

void PoemPanel::readingOver()
{
    if (cards.readingOver())
        showRevealed();
}

void PoemPanel::showRevealed()
{
    // Only the card being read can newly be revealed.
    if (cards.revealed() == pendingCard)
        showCard(pendingCard, pendingLength, pendingChanges);
    else
        showCard(0, 0);
}

void PoemPanel::showCard(int card, int currentLength)
{
    showCard(card, currentLength, {});
}

void PoemPanel::showCard(int card, int currentLength, const QList<KimarijiChange> &changes)
{
    shown = CardCatalog::builtIn().card(card).number;
    const PanelTexts texts = textsFor(shown, currentLength, changes);
    title->setText(texts.title);
    poem->setText(texts.poem);
    reading->setText(texts.reading);
    kimariji->setText(texts.kimariji);
    changed->setText(texts.changed);
    colour->setText(texts.colour);
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
