#include "platform/cp1251.h"

#include <array>
#include <cerrno>
#include <iconv.h>

namespace tvx {
namespace {

// The upper half of the code page, decoded once through iconv.
const std::array<char16_t, 128>& UpperHalf() {
    static const std::array<char16_t, 128> table = [] {
        std::array<char16_t, 128> t{};
        iconv_t cd = iconv_open("UTF-16LE", "WINDOWS-1251");
        for (int i = 0; i < 128; ++i) {
            char in = char(0x80 + i);
            char16_t out = char16_t(0x80 + i);
            if (cd != iconv_t(-1)) {
                char* inp = &in;
                size_t inLeft = 1;
                char16_t buf = 0;
                char* outp = reinterpret_cast<char*>(&buf);
                size_t outLeft = sizeof(buf);
                if (iconv(cd, &inp, &inLeft, &outp, &outLeft) != size_t(-1) && outLeft == 0) {
                    out = buf;
                }
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
            }
            t[size_t(i)] = out;
        }
        if (cd != iconv_t(-1)) {
            iconv_close(cd);
        }
        return t;
    }();
    return table;
}

} // namespace

QString DecodeCp1251(const QByteArray& bytes) {
    const auto& upper = UpperHalf();
    QString result;
    result.reserve(bytes.size());
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        result.append(b < 0x80 ? QChar(b) : QChar(upper[b - 0x80]));
    }
    return result;
}

QByteArray EncodeCp1251(const QString& text, bool* lossless) {
    const auto& upper = UpperHalf();
    if (lossless) {
        *lossless = true;
    }
    QByteArray result;
    result.reserve(text.size());
    for (QChar ch : text) {
        char16_t u = ch.unicode();
        if (u < 0x80) {
            result.append(char(u));
            continue;
        }
        int found = -1;
        for (int i = 0; i < 128; ++i) {
            if (upper[size_t(i)] == u) {
                found = i;
                break;
            }
        }
        if (found < 0) {
            if (lossless) {
                *lossless = false;
            }
            result.append('?');
        } else {
            result.append(char(0x80 + found));
        }
    }
    return result;
}

bool IsValidUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        unsigned char b = p[i];
        int extra = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + extra >= n) {
            return false; // sequence cut off at the end
        }
        for (int k = 1; k <= extra; ++k) {
            unsigned char c = p[i + k];
            if ((c & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        static constexpr char32_t minimum[4] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

QString DecodeTextFile(const QByteArray& bytes) {
    if (IsValidUtf8(bytes)) {
        QString s = QString::fromUtf8(bytes);
        if (s.startsWith(QChar(0xFEFF))) {
            s.remove(0, 1);
        }
        return s;
    }
    return DecodeCp1251(bytes);
}

} // namespace tvx
