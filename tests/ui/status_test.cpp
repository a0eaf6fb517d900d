// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include <QScrollBar>

#include "test_dialog.h"
#include "ui/status_box.h"
#include "ui/status_buffer.h"

namespace tevusb::ui {
namespace {

using testing::TestDialog;
using testing::waitUntil;
using K = ControlKind;

constexpr qsizetype kMax = StatusBuffer::kCapacity - 1;

TEST(StatusBufferTest, TextsFollowEachOtherAndContinueLinesWithoutLineEnds) {
    StatusBuffer buffer;
    buffer.append("Device not found.\r\n");
    buffer.append("Current device firmware version: ");
    buffer.append("1.50");
    buffer.append("\r\n");
    EXPECT_EQ(buffer.text(), "Device not found.\r\nCurrent device firmware version: 1.50\r\n");
    EXPECT_EQ(displayText(buffer.text()),
              "Device not found.\nCurrent device firmware version: 1.50\n");
}

TEST(StatusBufferTest, LineEndSplitAcrossTwoTextsIsOneLineEnd) {
    StatusBuffer buffer;
    buffer.append("first\r");
    EXPECT_EQ(displayText(buffer.text()), "first");
    buffer.append("\nsecond");
    EXPECT_EQ(displayText(buffer.text()), "first\nsecond");
    EXPECT_EQ(displayText("\r\n\r\nx"), "\n\nx");
}

TEST(StatusBufferTest, OverflowKeepsTheNewestTextFromALineStart) {
    StatusBuffer buffer;
    // Lines "line 00000\r\n" ... of 12 characters each, well past the capacity.
    QString last;
    for (int i = 0; i < 20000; ++i) {
        last = QStringLiteral("line %1\r\n").arg(i, 5, 10, QChar('0'));
        buffer.append(last);
        ASSERT_LE(buffer.size(), kMax);
    }
    const QString text = buffer.text();
    EXPECT_TRUE(text.endsWith(last));
    EXPECT_TRUE(text.startsWith("line "));
    // Nothing between the first kept line and the end is missing.
    const int first = text.mid(5, 5).toInt();
    EXPECT_EQ(text.size(), (20000 - first) * 12);
    EXPECT_GT(text.size(), kMax - 1024);
}

TEST(StatusBufferTest, ATextLargerThanTheBufferKeepsItsTail) {
    StatusBuffer buffer;
    buffer.append("old\r\n");
    QString huge(kMax + 5000, QChar('a'));
    huge.append("END");
    buffer.append(huge);
    EXPECT_EQ(buffer.size(), kMax);
    EXPECT_TRUE(buffer.text().endsWith("aaaEND"));
    EXPECT_FALSE(buffer.text().contains("old"));
}

TEST(StatusBufferTest, LongLineWithoutLineEndsIsCutExactlyNotEmptied) {
    StatusBuffer buffer;
    buffer.append(QString(kMax - 10, QChar('x')));
    buffer.append("\r\n");  // a line end far from any useful cut
    buffer.append("0123456789abcdef");
    const QString text = buffer.text();
    EXPECT_EQ(text.size(), kMax);
    EXPECT_TRUE(text.endsWith("x\r\n0123456789abcdef"));
}

TEST(StatusBufferTest, CutNeverSplitsASurrogatePair) {
    StatusBuffer buffer;
    QString pairs;
    const QString rocket = QString::fromUcs4(U"\U0001F680");
    while (pairs.size() < kMax) {
        pairs.append(rocket);
    }
    buffer.append(pairs);
    buffer.append("z");
    const QString text = buffer.text();
    ASSERT_FALSE(text.isEmpty());
    EXPECT_TRUE(text.at(0).isHighSurrogate());
    EXPECT_LE(text.size(), kMax);
}

TEST(StatusBufferTest, ConcurrentWritersNeitherLoseNorMixTexts) {
    StatusBuffer buffer;
    constexpr int kThreads = 4;
    constexpr int kTexts = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&buffer, t] {
            for (int i = 0; i < kTexts; ++i) {
                buffer.append(QStringLiteral("[%1:%2]\r\n").arg(t).arg(i));
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    const QStringList lines = displayText(buffer.text()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), kThreads * kTexts);
    std::vector<int> next(kThreads, 0);
    for (const QString& line : lines) {
        const QStringList parts = line.mid(1, line.size() - 2).split(':');
        ASSERT_EQ(parts.size(), 2) << line.toStdString();
        const int t = parts[0].toInt();
        EXPECT_EQ(parts[1].toInt(), next[t]++) << "thread " << t << " out of order";
    }
}

DialogTemplate statusTemplate() {
    DialogTemplate t;
    t.id = 501;
    t.clientWidth = 200;
    t.clientHeight = 120;
    t.controls = {{1003, K::StatusBox, "", QRect(5, 5, 190, 80)}};
    return t;
}

TEST(StatusBoxTest, WorkerAppendsArriveInOrderWithOneRefreshEach) {
    int refreshes = 0;
    TestDialog dialog(statusTemplate(), [&](TestDialog& d, const DialogMessage& m) {
        if (m.message == Message::StatusRefresh) {
            ++refreshes;
            d.refreshStatus();
            return true;
        }
        return m.message == Message::InitDialog;
    });
    ASSERT_TRUE(dialog.create(nullptr));
    dialog.window()->show();
    auto* box = qobject_cast<StatusBox*>(dialog.item(1003));
    ASSERT_NE(box, nullptr);

    std::thread worker([&dialog] {
        dialog.appendStatus(QStringLiteral("Reading settings...\r\n"));
        dialog.appendStatus(std::wstring_view(L"Packets Read: "));
        dialog.appendStatus(std::wstring_view(L"12\r\n"));
        for (int i = 1; i <= 40; ++i) {
            dialog.appendStatus(QStringLiteral("%1%\r\n").arg(i));
        }
    });
    worker.join();
    ASSERT_TRUE(waitUntil([&] { return refreshes == 43; }));
    EXPECT_EQ(box->refreshCount(), 43);
    const QString shown = box->toPlainText();
    EXPECT_TRUE(shown.startsWith("Reading settings...\nPackets Read: 12\n1%\n2%\n"));
    EXPECT_TRUE(shown.endsWith("39%\n40%"));
    EXPECT_FALSE(shown.contains('\r'));
    // Scrolled to the end, so the newest line is in view.
    EXPECT_EQ(box->verticalScrollBar()->value(), box->verticalScrollBar()->maximum());
    EXPECT_GT(box->verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(box->isReadOnly());
}

TEST(StatusBoxTest, TextAppendedBeforeTheWindowExistsIsShownAfterwards) {
    TestDialog dialog(statusTemplate(), [](TestDialog&, const DialogMessage& m) {
        return m.message == Message::InitDialog;
    });
    dialog.appendStatus(QStringLiteral("early\r\n"));
    ASSERT_TRUE(dialog.create(nullptr));
    auto* box = qobject_cast<StatusBox*>(dialog.item(1003));
    ASSERT_TRUE(waitUntil([&] { return box->refreshCount() > 0; }));
    EXPECT_EQ(box->toPlainText(), "early");
}

}  // namespace
}  // namespace tevusb::ui
