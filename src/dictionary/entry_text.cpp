#include "entry_text.h"

#include "gbk_codec.h"
#include "gbk_text.h"

namespace lexomir {
namespace {

constexpr std::string_view kDashLine = "-------------------------------------------------\r\n";
static_assert(kDashLine.size() == 49 + 2);

// The fixed texts are written in UTF-8 here and converted once, so that the
// entry is GBK throughout.
struct CharacterLabels {
    std::string zi = utf8ToGbk("\r\n汉字：");
    std::string bushou = utf8ToGbk("(部首：");
    std::string bihua = utf8ToGbk("(笔画数：");
    std::string wubi = utf8ToGbk("(五笔：");
    std::string bishun = utf8ToGbk("笔顺：");
    std::string jijie = utf8ToGbk("简介：");
    std::string xiangjie = utf8ToGbk("详解：");
};

struct IdiomLabels {
    std::string idiom = utf8ToGbk("\r\n成语：");
    std::string meaning = utf8ToGbk("【释义】：");
    std::string source = utf8ToGbk("【出处】：");
    std::string example = utf8ToGbk("【例子】：");
};

}  // namespace

std::string formatCharacterEntry(const CharacterEntry& e) {
    static const CharacterLabels labels;
    std::string text = labels.zi + e.zi;
    text += "(" + e.pinyin + "  ";
    text += e.py + ")";
    text += labels.bushou + e.bushou + ")";
    text += labels.bihua + std::to_string(e.bihua) + ")";
    text += labels.wubi + e.wubi + ")\r\n";
    if (!e.bishun.empty()) text += labels.bishun + e.bishun + "\r\n";
    text += kDashLine;
    text += labels.jijie + e.jijie + "\r\n";
    text += kDashLine;
    text += labels.xiangjie + e.xiangjie + "\r\n\r\n";
    return gbkReplaceAll(std::move(text), "<br>", "\r\n");
}

std::string formatIdiomEntry(const IdiomEntry& e) {
    static const IdiomLabels labels;
    std::string text = labels.idiom + e.ChengYu;
    text += "(" + e.PinYin + ")\r\n";
    text += kDashLine;
    text += labels.meaning + e.DianGu + "\r\n";
    text += kDashLine;
    text += labels.source + e.ChuChu + "\r\n";
    text += kDashLine;
    text += labels.example + e.LiZi + "\r\n\r\n";
    return text;
}

}  // namespace lexomir
