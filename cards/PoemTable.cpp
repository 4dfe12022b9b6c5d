#include "PoemTable.h"

#include <array>

namespace PoemTable {

namespace {

// Column of each group in the selection dialog, in table order.
enum GroupIndex { MuseUyu, Itihiki, Hayayoka, Mitako, Owa, Na, A };

// Card n is element n - 1. Labels follow pronunciation and the first phrases
// are kept exactly as written (historical and modern kana mixed); the two
// texts of a card are independent of each other.
constexpr std::array<Card, CardCount> Cards = {{
    {1, "あきのたの", "あきの", "Akino", A},
    {2, "はるすぎて", "はるす", "Harusu", Hayayoka},
    {3, "あしびきの", "あし", "Asi", A},
    {4, "たごのうらに", "たご", "Tago", Mitako},
    {5, "おくやまに", "おく", "Oku", Owa},
    {6, "かささぎの", "かさ", "Kasa", Hayayoka},
    {7, "あまのはら", "あまの", "Amano", A},
    {8, "わがいほは", "わがい", "Wagai", Owa},
    {9, "はなのいろは", "はなの", "Hanano", Hayayoka},
    {10, "これやこの", "これ", "Kore", Mitako},
    {11, "わたのはらや", "わた～や", "Wataya", Owa},
    {12, "あまつかぜ", "あまつ", "Amatu", A},
    {13, "つくばねの", "つく", "Tuku", MuseUyu},
    {14, "みちのくの", "みち", "Miti", Mitako},
    {15, "きみがためは", "きみ～は", "Kimiha", Itihiki},
    {16, "たちわかれ", "たち", "Tati", Mitako},
    {17, "ちはやぶる", "ちは", "Chiha", Itihiki},
    {18, "すみのえの", "す", "Su", MuseUyu},
    {19, "なにはがた", "なにはが", "Naniwaga", Na},
    {20, "わびぬれば", "わび", "Wabi", Owa},
    {21, "いまこむと", "いまこ", "Imako", Itihiki},
    {22, "ふくからに", "ふ", "Fu", MuseUyu},
    {23, "つきみれば", "つき", "Tuki", MuseUyu},
    {24, "このたびは", "この", "Kono", Mitako},
    {25, "なにしおはば", "なにし", "Nanisi", Na},
    {26, "おぐらやま", "おぐ", "Ogu", Owa},
    {27, "みかのはら", "みかの", "Mikano", Mitako},
    {28, "やまざとは", "やまざ", "Yamaza", Hayayoka},
    {29, "こころあてに", "こころあ", "Kokoroa", Mitako},
    {30, "ありあけの", "ありあ", "Aria", A},
    {31, "あさぼらけあ", "あさ～あ", "Asaa", A},
    {32, "やまがはに", "やまが", "Yamaga", Hayayoka},
    {33, "ひさかたの", "ひさ", "Hisa", Itihiki},
    {34, "たれをかも", "たれ", "Tare", Mitako},
    {35, "ひとはいざ", "ひとは", "Hitoha", Itihiki},
    {36, "なつのよは", "なつ", "Natu", Na},
    {37, "しらつゆに", "しら", "Sira", MuseUyu},
    {38, "わすらるる", "わすら", "Wasura", Owa},
    {39, "あさじふの", "あさじ", "Asaji", A},
    {40, "しのぶれど", "しの", "Sino", MuseUyu},
    {41, "こいすてふ", "こい", "Koi", Mitako},
    {42, "ちぎりきな", "ちぎりき", "Chigiriki", Itihiki},
    {43, "あひみての", "あい", "Ai", A},
    {44, "おほことの", "おおこ", "Ooko", Owa},
    {45, "あはれとも", "あわれ", "Aware", A},
    {46, "ゆらのとを", "ゆら", "Yura", MuseUyu},
    {47, "やえむぐら", "やえ", "Yae", Hayayoka},
    {48, "かぜをいたみ", "かぜを", "Kazewo", Hayayoka},
    {49, "みかきもり", "みかき", "Mikaki", Mitako},
    {50, "きみがためお", "きみ～お", "Kimio", Itihiki},
    {51, "かくとだに", "かく", "Kaku", Hayayoka},
    {52, "あけぬれば", "あけ", "Ake", A},
    {53, "なげきつつ", "なげき", "Nageki", Na},
    {54, "わすれじの", "わすれ", "Wasure", Owa},
    {55, "たきのおとは", "たき", "Taki", Mitako},
    {56, "あらざらん", "あらざ", "Araza", A},
    {57, "めぐりあいて", "め", "Me", MuseUyu},
    {58, "ありまやま", "ありま", "Arima", A},
    {59, "やすらはで", "やす", "Yasu", Hayayoka},
    {60, "おおえやま", "おおえ", "Ooe", Owa},
    {61, "いにしへの", "いに", "Ini", Itihiki},
    {62, "よをこめて", "よを", "Yowo", Hayayoka},
    {63, "いまはただ", "いまは", "Imaha", Itihiki},
    {64, "あさぼらけう", "あさ～う", "Asau", A},
    {65, "うらみわび", "うら", "Ura", MuseUyu},
    {66, "もろともに", "もろ", "Moro", MuseUyu},
    {67, "はるのよの", "はるの", "Haruno", Hayayoka},
    {68, "こころにも", "こころに", "Kokoroni", Mitako},
    {69, "あらしふく", "あらし", "Arasi", A},
    {70, "さびしさに", "さ", "Sa", MuseUyu},
    {71, "ゆうされば", "ゆう", "You", MuseUyu},
    {72, "おとにきく", "おと", "Oto", Owa},
    {73, "たかさごの", "たか", "Taka", Mitako},
    {74, "うかりける", "うか", "Uka", MuseUyu},
    {75, "ちぎりおきし", "ちぎりお", "Chigirio", Itihiki},
    {76, "わたのはらこ", "わた～こ", "Watako", Owa},
    {77, "せをはやみ", "せ", "Se", MuseUyu},
    {78, "あはじしま", "あわじ", "Awaji", A},
    {79, "あきかぜに", "あきか", "Akika", A},
    {80, "ながからむ", "ながか", "Nagaka", Na},
    {81, "ほととぎす", "ほ", "Ho", MuseUyu},
    {82, "おもひわび", "おも", "Omo", Owa},
    {83, "よのなかよ", "よの～よ", "Yonoyo", Hayayoka},
    {84, "ながらへば", "ながら", "Nagara", Na},
    {85, "よもすがら", "よも", "Yomo", Hayayoka},
    {86, "なげけとて", "なげけ", "Nageke", Na},
    {87, "むらさめの", "む", "Mu", MuseUyu},
    {88, "なにはえの", "なにはえ", "Naniwae", Na},
    {89, "たまのをよ", "たま", "Tama", Mitako},
    {90, "みせばやな", "みせ", "Mise", Mitako},
    {91, "きりぎりす", "きり", "Kiri", Itihiki},
    {92, "わがそでは", "わがそ", "Wagaso", Owa},
    {93, "よのなかは", "よの～は", "Yonoha", Hayayoka},
    {94, "みよしのの", "みよ", "Miyo", Mitako},
    {95, "おおけなく", "おおけ", "Ooke", Owa},
    {96, "はなさそふ", "はなさ", "Hanasa", Hayayoka},
    {97, "こぬひとを", "こぬ", "Konu", Mitako},
    {98, "かぜそよぐ", "かぜそ", "Kazeso", Hayayoka},
    {99, "ひともおし", "ひとも", "Hitomo", Itihiki},
    {100, "ももしきや", "もも", "Momo", MuseUyu},
}};

constexpr Card NoCard = {0, "", "", "", -1};

} // namespace

const Card &card(int number)
{
    if (number < 1 || number > CardCount)
        return NoCard;
    return Cards[static_cast<std::size_t>(number - 1)];
}

QString firstPhrase(int number)
{
    return QString::fromUtf8(card(number).firstPhrase);
}

const QList<Group> &groups()
{
    // Cells stand 30 pixels apart; a wider step separates the parts of a
    // group that its label names.
    static const QList<Group> table = {
        {"MuseUyu",
         "む～せ う～ゆ",
         {87, 18, 57, 22, 70, 81, 77, 74, 65, 23, 13, 40, 37, 100, 66, 71, 46},
         {40, 70, 100, 130, 160, 190, 220, 260, 290, 320, 350, 380, 410, 440, 470, 500, 530}},
        {"Itihiki",
         "い ち ひ き",
         {61, 21, 63, 17, 75, 42, 33, 35, 99, 91, 50, 15},
         {40, 70, 100, 150, 180, 210, 260, 290, 320, 370, 400, 430}},
        {"Hayayoka",
         "は や よ か",
         {96, 9, 2, 67, 47, 59, 32, 28, 85, 62, 93, 83, 51, 6, 98, 48},
         {40, 70, 100, 130, 170, 200, 230, 260, 300, 330, 360, 390, 430, 460, 490, 520}},
        {"Mitako",
         "み た こ",
         {90, 14, 94, 49, 27, 73, 55, 4, 16, 89, 34, 41, 97, 24, 10, 29, 68},
         {40, 70, 100, 130, 160, 200, 230, 260, 290, 320, 350, 390, 420, 450, 480, 510, 540}},
        {"Owa",
         "お わ",
         {5, 26, 72, 82, 60, 95, 44, 20, 8, 92, 38, 54, 76, 11},
         {40, 70, 100, 130, 160, 190, 220, 280, 310, 340, 370, 400, 430, 460}},
        {"Na", "な", {36, 80, 84, 53, 86, 25, 88, 19}, {40, 70, 100, 130, 160, 190, 220, 250}},
        {"A",
         "あ",
         {43, 52, 3, 79, 1, 12, 7, 56, 69, 30, 58, 78, 45, 39, 31, 64},
         {40, 70, 100, 130, 160, 190, 220, 250, 280, 310, 340, 370, 400, 430, 460, 490}}};
    return table;
}

QList<int> readBackOrder()
{
    QList<int> order;
    order.reserve(CardCount);
    for (const Group &group : groups())
        order += group.cards;
    // The dialog has always written group Itihiki's second and third boxes
    // back in swapped order: 63 before 21.
    const qsizetype at21 = order.indexOf(21);
    const qsizetype at63 = order.indexOf(63);
    if (at21 >= 0 && at63 == at21 + 1)
        order.swapItemsAt(at21, at63);
    return order;
}

} // namespace PoemTable
