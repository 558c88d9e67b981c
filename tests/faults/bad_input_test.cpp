// Input no one means to search for: fields filled to their limit, characters
// GBK has no code for, control characters, and keyword lists and idiom
// patterns far beyond the usual. Each is either refused with the program's
// own message or searched for as written, and the window goes on.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <string_view>

#include "fault_fixture.h"
#include "gbk_qt.h"
#include "messages.h"
#include "named_case.h"
#include "result_grid.h"
#include "search_plans.h"

namespace lexomir::testing {
namespace {

using namespace std::string_view_literals;

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// UTF-16 as written, embedded NULs and lone surrogates included.
QString utf16(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

QString withoutControls(QString text) {
    text.removeIf([](QChar c) { return c.unicode() < 0x20; });
    return text;
}

enum class Field { PinYin, ZiYi, ChengYu };

const char* nameOf(Field field) {
    switch (field) {
        case Field::PinYin:
            return "LedtPinYin";
        case Field::ZiYi:
            return "LedtZiYi";
        case Field::ChengYu:
            return "LedtChengYu";
    }
    return "";
}

// How the text gets into the field.
enum class Entry { Typed, SetText, Pasted };

class BadInputTest : public FaultTest {
  protected:
    void SetUp() override {
        FaultTest::SetUp();
        openWindow();
    }

    QLineEdit* edit(Field field) { return control<QLineEdit>(nameOf(field)); }
    const char* gridOf(Field field) const {
        return field == Field::ChengYu ? "GridChengYu" : "GridXinHua";
    }

    void enter(Field field, Entry entry, const QString& text) {
        QLineEdit* line = edit(field);
        line->clear();
        switch (entry) {
            case Entry::Typed:
                return type(line, text);
            case Entry::SetText:
                return line->setText(text);
            case Entry::Pasted:
                line->setFocus();
                QGuiApplication::clipboard()->setText(text);
                QTest::keyClick(line, Qt::Key_V, Qt::ControlModifier);
                return;
        }
    }

    // Each character as the user enters it: ASCII from the keyboard, where
    // Tab moves the focus on and a control character comes from Ctrl and a
    // letter; anything else committed by the input method, which is how
    // Chinese and emoji arrive.
    static void type(QLineEdit* line, const QString& text) {
        for (qsizetype i = 0; i < text.size();) {
            const qsizetype length =
                text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()
                    ? 2
                    : 1;
            const QString piece = text.mid(i, length);
            i += length;
            line->setFocus();
            const char16_t unit = piece[0].unicode();
            if (length == 1 && unit == u'\t') {
                QTest::keyClick(line, Qt::Key_Tab);
            } else if (length == 1 && unit > 0 && unit < 0x20) {
                // Ctrl with a letter key gives the control character as its text.
                const auto letter = static_cast<Qt::Key>(Qt::Key_A + unit - 1);
                QTest::sendKeyEvent(QTest::Click, line, letter, piece, Qt::ControlModifier);
            } else if (length == 1 && unit >= 0x20 && unit < 0x7F) {
                QTest::keyClick(line, static_cast<char>(unit));
            } else if (unit != 0) {  // no key gives NUL
                QInputMethodEvent commit;
                commit.setCommitString(piece);
                QCoreApplication::sendEvent(line, &commit);
            }
        }
    }

    // The search the field belongs to, with whatever the field holds.
    void search(Field field) {
        switch (field) {
            case Field::PinYin:
                control<QRadioButton>("RdoPinYin")->setChecked(true);
                control<QPushButton>("Btn1")->click();
                return;
            case Field::ZiYi:
                control<QComboBox>("CboZiYi")->setCurrentIndex(1);
                control<QPushButton>("Btn2")->click();
                return;
            case Field::ChengYu:
                control<QPushButton>("BtnChengYu")->click();
                return;
        }
    }

    // A result on the field's page that no bad input gives, so that a grid
    // left unfilled shows.
    void showSomethingElse(Field field) {
        field == Field::ChengYu ? idiomSearch("一") : typedSearch("h");
        messages.clear();
    }

    // The filled cells of the field's grid, which must agree with the list.
    QStringList found(Field field) {
        QStringList cells = gridTexts(gridOf(field));
        cells.removeAll(QString());
        const std::size_t listed = field == Field::ChengYu ? window->foundIdioms().size()
                                                           : window->foundCharacters().size();
        EXPECT_EQ(static_cast<std::size_t>(cells.size()), listed);
        return cells;
    }

    QStringList noticesOf(Field field) const {
        return field == Field::ZiYi ? QStringList{utf8(messages::kMeaningSearchIsSlow)}
                                    : QStringList{};
    }

    // The searches that show the first entry at once show the first found.
    void expectFirstEntryShown(Field field, const QStringList& expected) {
        if (expected.isEmpty() || field == Field::ZiYi) return;
        const QString prefix =
            field == Field::PinYin ? QString::fromUtf8("\n汉字：") : QString::fromUtf8("\n成语：");
        const QString shown = memo(field == Field::PinYin ? "Memo1" : "Memo2");
        EXPECT_TRUE(shown.startsWith(prefix + expected.first() + QLatin1Char('(')))
            << shown.toStdString();
    }

    // No replacement character and no question mark standing in for one, in
    // any cell, memo or message; a character cell holds one character.
    void expectNothingGarbled() {
        QStringList shown = messages;
        for (const char* grid : {"GridXinHua", "GridChengYu"}) shown += gridTexts(grid);
        shown << memo("Memo1") << memo("Memo2");
        for (const QString& text : shown) {
            EXPECT_FALSE(text.contains(QChar::ReplacementCharacter)) << text.toStdString();
            EXPECT_FALSE(text.contains(QLatin1Char('?'))) << text.toStdString();
        }
        for (const QString& cell : gridTexts("GridXinHua"))
            EXPECT_LE(cell.size(), 1) << cell.toStdString();
    }

    void expectNoErrors() {
        EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    }
};

// Each field filled to its limit by a paste that is longer still: the field
// cuts it at its maximum length, and the search refuses blanks or finds
// what the text asks for.
enum class Content { Chinese, Ascii, Blanks };

struct FullLengthCase {
    Field field;
    Content content;
    const char* repeated;            // UTF-8, repeated up to the length
    std::vector<const char*> found;  // when not refused
    std::string_view refusal;        // UTF-8, empty when searched
};

void PrintTo(const FullLengthCase& c, std::ostream* out) {
    *out << nameOf(c.field) << " \"" << c.repeated << "\"";
}

class FullLengthBadInput : public BadInputTest,
                           public ::testing::WithParamInterface<FullLengthCase> {};

TEST_P(FullLengthBadInput, IsCutAtTheLimitAndRefusedOrSearched) {
    const FullLengthCase& c = GetParam();
    QLineEdit* line = edit(c.field);
    const QString unit = QString::fromUtf8(c.repeated);
    QString text;
    while (text.size() < line->maxLength() + 10) text += unit;
    showSomethingElse(c.field);
    const QStringList before = gridTexts(gridOf(c.field));

    enter(c.field, Entry::Pasted, text);
    ASSERT_EQ(line->text(), text.left(line->maxLength()));
    search(c.field);

    if (!c.refusal.empty()) {
        EXPECT_EQ(messages, QStringList{utf8(c.refusal)});
        EXPECT_EQ(window->focusWidget(), line);
        EXPECT_EQ(gridTexts(gridOf(c.field)), before);
    } else {
        const QStringList expected = utf8List(c.found);
        EXPECT_EQ(found(c.field), expected);
        EXPECT_EQ(messages, noticesOf(c.field));
        expectFirstEntryShown(c.field, expected);
    }
    EXPECT_EQ(line->text().size(), line->maxLength());  // the search leaves the text as it was
    expectNothingGarbled();
    expectNoErrors();
    expectBothPagesWork();
}

std::string fullLengthName(const ::testing::TestParamInfo<FullLengthCase>& info) {
    const char* content[] = {"Chinese", "Ascii", "Blanks"};
    return std::string(nameOf(info.param.field)) + content[static_cast<int>(info.param.content)];
}

INSTANTIATE_TEST_SUITE_P(
    EachField, FullLengthBadInput,
    ::testing::Values(
        // Typed characters: each one found once, in file order.
        FullLengthCase{Field::PinYin, Content::Chinese, "水国", {"国", "水"}, {}},
        // No reading is that long.
        FullLengthCase{Field::PinYin, Content::Ascii, "zhang", {}, {}},
        FullLengthCase{Field::PinYin, Content::Blanks, " \t", {}, messages::kPleaseEnter},
        // Thousands of repeated keywords, two of which occur.
        FullLengthCase{Field::ZiYi, Content::Chinese, "河流 火焰 ", {"水", "火"}, {}},
        FullLengthCase{Field::ZiYi, Content::Ascii, "qz ", {}, {}},
        FullLengthCase{Field::ZiYi, Content::Blanks, " \t", {}, messages::kKeywordsNeeded},
        // Patterns longer than any idiom, of characters and of wildcards.
        FullLengthCase{Field::ChengYu, Content::Chinese, "爱", {}, {}},
        FullLengthCase{Field::ChengYu, Content::Ascii, "=", {}, {}},
        FullLengthCase{Field::ChengYu, Content::Blanks, " \t", {}, messages::kEnterAnIdiom}),
    fullLengthName);

// Characters GBK has no code for, control characters and lone surrogates,
// typed, set and pasted. They become GB18030 sequences that no record holds,
// or are trimmed like blanks, so the rest of the text is searched as written.
struct OddCharacterCase : NamedCase {
    Field field;
    std::u16string_view text;
    std::vector<const char*> found;
};

class OddCharacterBadInput : public BadInputTest,
                             public ::testing::WithParamInterface<OddCharacterCase> {};

TEST_P(OddCharacterBadInput, IsSearchedAsWrittenWhicheverWayItCameIn) {
    const OddCharacterCase& c = GetParam();
    const QString text = utf16(c.text);
    const QStringList expected = utf8List(c.found);
    for (Entry entry : {Entry::Typed, Entry::SetText, Entry::Pasted}) {
        SCOPED_TRACE(static_cast<int>(entry));
        showSomethingElse(c.field);
        enter(c.field, entry, text);
        // No key gives a control character to a line edit; all the rest arrives.
        EXPECT_EQ(edit(c.field)->text(), entry == Entry::Typed ? withoutControls(text) : text);
        const QString entered = edit(c.field)->text();
        search(c.field);
        EXPECT_EQ(found(c.field), expected);
        EXPECT_EQ(messages, noticesOf(c.field));
        EXPECT_EQ(edit(c.field)->text(), entered);
        expectFirstEntryShown(c.field, expected);
        expectNothingGarbled();
        expectNoErrors();
    }
    expectBothPagesWork();
}

INSTANTIATE_TEST_SUITE_P(
    EachField, OddCharacterBadInput,
    ::testing::Values(
        // An emoji and a character of CJK Extension B around two GBK characters.
        OddCharacterCase{"PinYinAstral", Field::PinYin, u"\U0001F600中\U00020000国", {"中", "国"}},
        OddCharacterCase{"ZiYiAstral", Field::ZiYi, u"\U0001F600 水 \U00020000", {"水"}},
        // No idiom holds a character outside GBK.
        OddCharacterCase{"ChengYuAstral", Field::ChengYu, u"爱\U00020000", {}},
        // Tab, NUL and BEL, inside and at both ends.
        OddCharacterCase{"PinYinControls", Field::PinYin, u"\t中\0国\a"sv, {"中", "国"}},
        OddCharacterCase{"ZiYiControls", Field::ZiYi, u"\t水 \a火\0"sv, {"水", "火"}},
        OddCharacterCase{
            "ChengYuControls", Field::ChengYu, u"\t爱\0\a"sv, {"爱不释手", "爱屋及乌"}},
        // The right-to-left override, invisible in the field.
        OddCharacterCase{"PinYinBidiOverride", Field::PinYin, u"\u202E中国", {"中", "国"}},
        OddCharacterCase{"ZiYiBidiOverride", Field::ZiYi, u"\u202E 火", {"火"}},
        OddCharacterCase{"ChengYuBidiOverride", Field::ChengYu, u"\u202E爱", {}},
        // Half a surrogate pair: no character at all.
        OddCharacterCase{"PinYinLoneSurrogate", Field::PinYin, u"中\xD800国", {"中", "国"}},
        OddCharacterCase{"ZiYiLoneSurrogate", Field::ZiYi, u"水 \xDC00", {"水"}},
        OddCharacterCase{"ChengYuLoneSurrogate", Field::ChengYu, u"爱\xD800", {}}),
    CaseName());

// Five thousand keywords, a few of which occur in the fixture's
// explanations: one pass over the index finds exactly the characters whose
// explanation holds one of them, and events are handled all along.
using KeywordListBadInput = BadInputTest;

TEST_F(KeywordListBadInput, FiveThousandKeywordsFindTheCharactersThatHoldOne) {
    const std::vector<QString> occurring = {QString::fromUtf8("两端"), QString::fromUtf8("燃烧"),
                                            QString::fromUtf8("河流")};
    QStringList keywords;
    // Two-character words of rare characters, which no explanation holds.
    for (int k = 0; keywords.size() < 5000; ++k)
        keywords.append(QString(QChar(0x9F00 + k % 160)) + QChar(0x9E00 + k / 160));
    keywords[17] = occurring[0];
    keywords[2500] = occurring[1];
    keywords[4999] = occurring[2];
    QStringList expected;
    for (const CharacterFixture& c : fixtureCharacters()) {
        const QString jijie = QString::fromStdString(c.jijie);
        const QString xiangjie = QString::fromStdString(c.xiangjie);
        if (std::any_of(keywords.begin(), keywords.end(), [&](const QString& k) {
                return jijie.contains(k) || xiangjie.contains(k);
            }))
            expected.append(QString::fromStdString(c.character));
    }
    ASSERT_EQ(expected.size(), 3);  // the oracle must see the occurring words, and only them

    control<QComboBox>("CboZiYi")->setCurrentIndex(2);  // brief or detailed explanation
    control<QLineEdit>("LedtZiYi")->setText(keywords.join(QLatin1Char(' ')));
    auto* progress = control<QProgressBar>("ProgXinHua");
    progress->setValue(progress->maximum());
    int passes = 0;
    QObject::connect(progress, &QProgressBar::valueChanged, window.get(),
                     [&](int value) { passes += value == progress->minimum(); });
    duringNextScan([&] {
        QTest::mouseClick(control<ResultGrid>("GridChengYu")->viewport(), Qt::RightButton, {},
                          QPoint(5, 5));
    });
    control<QPushButton>("Btn2")->click();

    EXPECT_EQ(found(Field::ZiYi), expected);
    EXPECT_EQ(passes, 1);
    EXPECT_EQ(progress->value(), progress->maximum());
    EXPECT_EQ(messages,
              (QStringList{utf8(messages::kMeaningSearchIsSlow), fromGbk(idiomsFoundMessage(0))}));
    expectNoErrors();
    expectBothPagesWork();
}

// Idiom patterns of wildcards only, longer than every idiom, or of ASCII and
// GBK mixed (no idiom holds ASCII, and a lone byte shifts the two-byte units
// after it).
struct IdiomPatternCase : NamedCase {
    const char* pattern;
    std::vector<const char*> found;
};

class IdiomPatternBadInput : public BadInputTest,
                             public ::testing::WithParamInterface<IdiomPatternCase> {};

TEST_P(IdiomPatternBadInput, FindsExactlyWhatThePatternAllows) {
    const IdiomPatternCase& c = GetParam();
    showSomethingElse(Field::ChengYu);
    idiomSearch(c.pattern);
    const QStringList expected = utf8List(c.found);
    EXPECT_EQ(found(Field::ChengYu), expected);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    expectFirstEntryShown(Field::ChengYu, expected);
    expectNothingGarbled();
    expectNoErrors();
    expectBothPagesWork();
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, IdiomPatternBadInput,
    ::testing::Values(IdiomPatternCase{"SingleWildcard",
                                       "=",
                                       {"百战不殆", "百战百胜", "爱不释手", "爱屋及乌", "一心一意",
                                        "百战不殆之师"}},
                      IdiomPatternCase{"FourWildcards",
                                       "====",
                                       {"百战不殆", "百战百胜", "爱不释手", "爱屋及乌", "一心一意",
                                        "百战不殆之师"}},
                      IdiomPatternCase{"SixWildcards", "======", {"百战不殆之师"}},
                      IdiomPatternCase{"SevenWildcards", "=======", {}},
                      IdiomPatternCase{"LongerThanAnyIdiom", "百战不殆之师也", {}},
                      IdiomPatternCase{"WildcardsAroundCharacters", "=战=胜", {"百战百胜"}},
                      IdiomPatternCase{"AsciiAfterCharacters", "百战a", {}},
                      IdiomPatternCase{"AsciiBeforeAWildcard", "a=", {}}),
    CaseName());

}  // namespace
}  // namespace lexomir::testing
