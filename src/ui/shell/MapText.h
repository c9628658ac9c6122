// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts from the map are bytes, not UTF-8: each byte is one character on
// screen and back, so a name survives a round trip through a widget exactly.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>
#include <string_view>

namespace quorin::ui {

inline QString FromMapText(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string ToMapText(const QString& text) { return text.toLatin1().toStdString(); }

// The position of the first character of text that has no byte in map text
// (past U+00FF), or -1 when every character has one. ToMapText would turn
// such a character into '?'.
inline qsizetype FirstWithoutMapByte(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() > 0xFF) return i;
    }
    return -1;
}

// A message of the core for a box. It quotes names byte for byte, so it is
// read as map text: a refusal shows the name as the fields show it.
inline QString MessageText(std::string_view message) { return FromMapText(message); }

// The same for a message that may quote the file at path: the path's bytes
// are the file system's encoding, not map text, so they show as the path.
inline QString MessageText(std::string_view message, const QString& path) {
    QString text = FromMapText(message);
    const QByteArray encoded = QFile::encodeName(path);
    if (!path.isEmpty()) text.replace(FromMapText(std::string_view(encoded.constData(), encoded.size())), path);
    return text;
}

}  // namespace quorin::ui
