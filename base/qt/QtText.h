#pragma once
// The core's texts are UTF-8; Qt's are QString.
#include <QString>
#include <string>

namespace orbisk {

inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
inline QString Q(const char* s) {
    return QString::fromUtf8(s);
}
inline std::string S(const QString& s) {
    return s.toStdString();
}

}  // namespace orbisk
