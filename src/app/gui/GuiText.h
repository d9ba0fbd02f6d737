// Text between the core (bytes) and the widgets (QString): log text is shown as UTF-8 when its
// bytes are valid UTF-8 and as Latin-1 otherwise; paths go through the file system's encoding.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vexor {

QString ToQString(std::string_view bytes);
std::string ToBytes(const QString& text);
QString PathToQString(const std::string& path);
std::string PathFromQString(const QString& path);

}  // namespace vexor
