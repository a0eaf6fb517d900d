// SPDX-License-Identifier: MIT
#include "ui/status_buffer.h"

namespace tevusb::ui {

namespace {

constexpr qsizetype kMaxChars = StatusBuffer::kCapacity - 1;
// How far past the necessary cut a line end may lie and still be preferred: a bit more is
// dropped to start on a whole line, but never a large part of the text.
constexpr qsizetype kLineSearch = 1024;

// Where to cut the front of `text` so that at most kMaxChars remain: preferably just after
// a line end, so the box starts with a whole line, and never inside a surrogate pair.
qsizetype cutPosition(const QString& text) {
    const qsizetype needed = text.size() - kMaxChars;
    if (needed <= 0) {
        return 0;
    }
    const qsizetype lineEnd = text.indexOf(QChar('\n'), needed - 1);
    if (lineEnd >= 0 && lineEnd < needed + kLineSearch && lineEnd + 1 < text.size()) {
        return lineEnd + 1;
    }
    qsizetype cut = needed;
    if (cut < text.size() && text.at(cut).isLowSurrogate()) {
        ++cut;
    }
    return cut;
}

}  // namespace

void StatusBuffer::append(const QString& text) {
    std::lock_guard lock(m_mutex);
    if (text.size() >= kMaxChars) {
        // A single text larger than the buffer: only its tail can be shown.
        m_text = text.right(kMaxChars + 1);
        m_text.remove(0, cutPosition(m_text));
        return;
    }
    m_text.append(text);
    const qsizetype cut = cutPosition(m_text);
    if (cut > 0) {
        m_text.remove(0, cut);
    }
}

QString StatusBuffer::text() const {
    std::lock_guard lock(m_mutex);
    return m_text;
}

qsizetype StatusBuffer::size() const {
    std::lock_guard lock(m_mutex);
    return m_text.size();
}

QString displayText(const QString& raw) {
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c == QChar('\r')) {
            continue;
        }
        out.append(c);
    }
    return out;
}

}  // namespace tevusb::ui
