#include "pinyin_spelling.h"

#include <array>
#include <vector>

#include "gbk_codec.h"
#include "gbk_text.h"

namespace lexomir {
namespace {

enum class FormKind {
    Letter,     // a letter of its own, perhaps with a tone mark
    ToneMark,   // a combining mark on the letter before it
    Diaeresis,  // a combining diaeresis: the u before it becomes v
};

// One letter's forms in UTF-8, indexed by tone: 0 for the form without a
// tone, 1-4 for the tone marks; empty where there is none.
struct FormRow {
    FormKind kind;
    char letter;
    std::array<std::string_view, 5> byTone;
};

constexpr FormRow kFormRows[] = {
    {FormKind::Letter, 'a', {"", "ā", "á", "ǎ", "à"}},
    {FormKind::Letter, 'a', {"", "Ā", "Á", "Ǎ", "À"}},
    {FormKind::Letter, 'e', {"", "ē", "é", "ě", "è"}},
    {FormKind::Letter, 'e', {"", "Ē", "É", "Ě", "È"}},
    {FormKind::Letter, 'e', {"ê", "", "ế", "", "ề"}},
    {FormKind::Letter, 'e', {"Ê", "", "Ế", "", "Ề"}},
    {FormKind::Letter, 'i', {"", "ī", "í", "ǐ", "ì"}},
    {FormKind::Letter, 'i', {"", "Ī", "Í", "Ǐ", "Ì"}},
    {FormKind::Letter, 'o', {"", "ō", "ó", "ǒ", "ò"}},
    {FormKind::Letter, 'o', {"", "Ō", "Ó", "Ǒ", "Ò"}},
    {FormKind::Letter, 'u', {"", "ū", "ú", "ǔ", "ù"}},
    {FormKind::Letter, 'u', {"", "Ū", "Ú", "Ǔ", "Ù"}},
    {FormKind::Letter, 'v', {"ü", "ǖ", "ǘ", "ǚ", "ǜ"}},
    {FormKind::Letter, 'v', {"Ü", "Ǖ", "Ǘ", "Ǚ", "Ǜ"}},
    {FormKind::Letter, 'm', {"", "", "ḿ", "", ""}},
    {FormKind::Letter, 'm', {"", "", "Ḿ", "", ""}},
    {FormKind::Letter, 'n', {"", "", "ń", "ň", "ǹ"}},
    {FormKind::Letter, 'n', {"", "", "Ń", "Ň", "Ǹ"}},
    // The circumflex of ê leaves the e as it is.
    {FormKind::ToneMark, '\0', {"\u0302", "\u0304", "\u0301", "\u030C", "\u0300"}},
    {FormKind::Diaeresis, '\0', {"\u0308", "", "", "", ""}},
};

struct LetterForm {
    std::string gbk;
    FormKind kind;
    char letter;
    int tone;
};

// The forms as the text holds them, converted once.
const std::vector<LetterForm>& letterForms() {
    static const std::vector<LetterForm> forms = [] {
        std::vector<LetterForm> all;
        for (const FormRow& row : kFormRows) {
            for (int tone = 0; tone < 5; ++tone) {
                const std::string_view utf8 = row.byTone[static_cast<std::size_t>(tone)];
                if (!utf8.empty()) all.push_back({utf8ToGbk(utf8), row.kind, row.letter, tone});
            }
        }
        return all;
    }();
    return forms;
}

const LetterForm* letterFormOf(std::string_view character) {
    for (const LetterForm& form : letterForms()) {
        if (form.gbk == character) return &form;
    }
    return nullptr;
}

char asciiLetter(std::string_view character) {
    if (character.size() != 1) return '\0';
    const char c = character[0];
    if (c >= 'a' && c <= 'z') return c;
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    return '\0';
}

// Adds one letter form to the spelling; false when it cannot stand there.
bool addForm(const LetterForm& form, PinyinSpelling& spelling) {
    if (form.kind != FormKind::Letter && spelling.letters.empty()) return false;
    if (form.kind == FormKind::Diaeresis) {
        if (spelling.letters.back() != 'u') return false;
        spelling.letters.back() = 'v';
    }
    if (form.kind == FormKind::Letter) spelling.letters.push_back(form.letter);
    if (form.tone == 0) return true;
    if (spelling.tone != 0) return false;  // a second tone: no single syllable
    spelling.tone = form.tone;
    return true;
}

bool isReadingSeparator(char c) {
    return c == ',' || static_cast<unsigned char>(c) <= 0x20;
}

}  // namespace

std::optional<PinyinSpelling> readPinyinSpelling(std::string_view text) {
    PinyinSpelling spelling;
    const std::vector<std::string_view> characters = gbkCharacters(text);
    std::size_t i = 0;
    for (; i < characters.size(); ++i) {
        if (const char letter = asciiLetter(characters[i])) {
            spelling.letters.push_back(letter);
        } else if (const LetterForm* form = letterFormOf(characters[i])) {
            if (!addForm(*form, spelling)) return std::nullopt;
        } else {
            break;
        }
    }
    if (spelling.letters.empty()) return std::nullopt;
    if (i == characters.size()) return spelling;
    const std::string_view last = characters[i];
    if (i + 1 != characters.size() || last.size() != 1 || last[0] < '1' || last[0] > '5' ||
        spelling.tone != 0) {
        return std::nullopt;
    }
    // 5, the neutral tone, is typed for "any tone".
    if (last[0] != '5') spelling.tone = last[0] - '0';
    return spelling;
}

bool tonedReadingsMatch(std::string_view tonedReadings, const PinyinSpelling& wanted) {
    std::string_view rest = tonedReadings;
    while (!rest.empty()) {
        std::size_t end = 0;
        while (end < rest.size() && !isReadingSeparator(rest[end])) ++end;
        const std::optional<PinyinSpelling> reading = readPinyinSpelling(rest.substr(0, end));
        if (reading && reading->tone == wanted.tone &&
            reading->letters.starts_with(wanted.letters)) {
            return true;
        }
        rest.remove_prefix(end < rest.size() ? end + 1 : end);
    }
    return false;
}

}  // namespace lexomir
