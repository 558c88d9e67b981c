// GBK bytes to and from the widgets' text.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "gbk_codec.h"

namespace lexomir {

inline QString fromGbk(std::string_view gbk) {
    return QString::fromStdString(gbkToUtf8(gbk));
}
inline std::string toGbk(const QString& text) {
    return utf8ToGbk(text.toStdString());
}

}  // namespace lexomir
