// SPDX-License-Identifier: MIT
#include <filesystem>
#include <fstream>
#include <utility>

#include "device_fixture.h"
#include "support/firmware_builder.h"

namespace tevusb::device::testing {
namespace {

using Progress = std::pair<int, int>;  // block, highest block

struct ProgressLog {
    std::vector<Progress> calls;
    static void record(void* context, int block, int highest) {
        static_cast<ProgressLog*>(context)->calls.emplace_back(block, highest);
    }
};

std::vector<std::uint8_t> report(std::initializer_list<std::uint8_t> head) {
    std::vector<std::uint8_t> r(65, 0);
    std::copy(head.begin(), head.end(), r.begin());
    return r;
}

class FirmwareUpdateTest : public DeviceTest {
  protected:
    void SetUp() override {
        connectBootloader();
        m_dir = std::filesystem::temp_directory_path() /
                ("tevusb_update_" + std::to_string(::getpid()) + "_" +
                 std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::filesystem::path write(const std::vector<std::uint8_t>& bytes) {
        const auto path = m_dir / "firmware.dat";
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    void scriptQuery(std::uint16_t hardware) {
        backend->expectWrite(report({0, 1}));
        std::vector<std::uint8_t> answer(64, 0);
        answer[0] = static_cast<std::uint8_t>(hardware & 0xFF);
        answer[1] = static_cast<std::uint8_t>(hardware >> 8);
        backend->reply(answer);
    }
    void scriptBlock(int index, std::uint8_t answer = 1) {
        const auto address = static_cast<std::uint16_t>(index * 64);
        backend->expectWrite(report({0, 2}));
        backend->expectWrite(report({0, std::uint8_t(address & 0xFF), std::uint8_t(address >> 8)}));
        std::vector<std::uint8_t> data(65, 0);
        std::copy_n(builder.image.begin() + index * 64, 64, data.begin() + 1);
        backend->expectWrite(data);
        std::vector<std::uint8_t> reply(64, 0);
        reply[0] = answer;
        backend->reply(reply);
    }

    int update() {
        return device.updateFirmware(&ProgressLog::record, &progress, write(builder.bytes()),
                                     versions);
    }

    FirmwareBuilder builder;
    ProgressLog progress;
    FirmwareVersions versions;

  private:
    std::filesystem::path m_dir;
};

TEST_F(FirmwareUpdateTest, WritesEveryBlockThatIsNotErased) {
    builder.length = 150;  // blocks 0 to 2
    builder.fillBlock(0);
    builder.fillBlock(2);
    builder.fillBlock(3);  // past the length: never considered
    scriptQuery(0x0121);
    scriptBlock(0);
    scriptBlock(2);

    EXPECT_EQ(update(), update_result::kSuccess);
    expectConversationDone();
    EXPECT_EQ(progress.calls, (std::vector<Progress>{{0, 2}, {1, 2}, {2, 2}}));
    EXPECT_EQ(versions.fileFormat, 0x0100);
    EXPECT_EQ(versions.bootloader, 0x0110);
    EXPECT_EQ(versions.firmware, 0x0150);
    EXPECT_EQ(versions.hardware, 0x0121);
    const std::vector<std::string> lines{"Reading file.",        "MaxBlockIndex: 2",
                                         "Connected to device.", "Hardware Version: 0121",
                                         "Written Block: 0",     "Written Block: 80"};
    EXPECT_EQ(log.lines(), lines);
    EXPECT_TRUE(device.link.isOpen());
    EXPECT_TRUE(device.isBootloader());
}

TEST_F(FirmwareUpdateTest, LengthZeroConsidersBlockZeroAlone) {
    builder.fillBlock(0);
    builder.fillBlock(1);
    scriptQuery(0x0120);
    scriptBlock(0);
    EXPECT_EQ(update(), update_result::kSuccess);
    expectConversationDone();
    EXPECT_EQ(progress.calls, (std::vector<Progress>{{0, 0}}));
}

TEST_F(FirmwareUpdateTest, ExactMultipleConsidersTheErasedBlockAtTheLength) {
    builder.length = 128;
    builder.fillBlock(1);
    scriptQuery(0x0120);
    scriptBlock(1);
    EXPECT_EQ(update(), update_result::kSuccess);
    expectConversationDone();
    EXPECT_EQ(progress.calls.back(), Progress(2, 2));
}

TEST_F(FirmwareUpdateTest, NegativeLengthWritesNothingAndSucceeds) {
    builder.length = -832;
    builder.fillBlock(0);
    scriptQuery(0x0120);
    EXPECT_EQ(update(), update_result::kSuccess);
    expectConversationDone();
    EXPECT_TRUE(progress.calls.empty());
    EXPECT_TRUE(log.has("MaxBlockIndex: -13"));
}

TEST_F(FirmwareUpdateTest, AFullImageEndsWithoutWrappingToAddressZero) {
    builder.length = 65536;
    builder.fillBlock(1023);
    scriptQuery(0x0120);
    scriptBlock(1023);
    EXPECT_EQ(update(), update_result::kSuccess);
    expectConversationDone();
    ASSERT_EQ(progress.calls.size(), 1025u);
    EXPECT_EQ(progress.calls.back(), Progress(1024, 1024));
    EXPECT_TRUE(log.has("Written Block: ffc0"));
}

TEST_F(FirmwareUpdateTest, BadFilesNeverReachTheDevice) {
    struct Case {
        const char* name;
        std::function<void()> change;
        int result;
        FirmwareVersions seen;
    };
    const std::vector<Case> cases{
        {"wrong magic",
         [&] { builder.formatVersion = 0x0100; },
         update_result::kNotFirmwareFile,
         {}},
        {"format",
         [&] { builder.formatVersion = 0x0200; },
         update_result::kWrongFileVersion,
         {0x0200, 0, 0, 0}},
        {"bootloader",
         [&] { builder.bootloaderVersion = 0x0120; },
         update_result::kWrongBootloader,
         {0x0100, 0, 0x0120, 0}},
        {"firmware",
         [&] { builder.firmwareVersion = 0x0160; },
         update_result::kWrongFirmware,
         {0x0100, 0, 0x0110, 0x0160}},
        {"length",
         [&] { builder.length = 65537; },
         update_result::kNotFirmwareFile,
         {0x0100, 0, 0x0110, 0x0150}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        builder = FirmwareBuilder{};
        builder.fillBlock(0);
        k.change();
        auto bytes = builder.bytes();
        if (std::string(k.name) == "wrong magic") {
            bytes[0] = 0x31;
        }
        versions = FirmwareVersions{};
        EXPECT_EQ(device.updateFirmware(nullptr, nullptr, write(bytes), versions), k.result);
        EXPECT_EQ(versions.fileFormat, k.seen.fileFormat);
        EXPECT_EQ(versions.bootloader, k.seen.bootloader);
        EXPECT_EQ(versions.firmware, k.seen.firmware);
        EXPECT_EQ(versions.hardware, 0);
    }
    expectConversationDone();
    EXPECT_FALSE(log.has("Connected to device."));
}

TEST_F(FirmwareUpdateTest, FirmwareOfTheSameFamilyIsAccepted) {
    builder.firmwareVersion = 0x0151;
    builder.bootloaderVersion = 0x011F;
    scriptQuery(0x0120);
    EXPECT_EQ(update(), update_result::kSuccess);
    expectConversationDone();
}

TEST_F(FirmwareUpdateTest, CutFileIsAProtocolErrorAndMissingFileCannotBeOpened) {
    auto bytes = builder.bytes();
    bytes.resize(30000);
    EXPECT_EQ(device.updateFirmware(nullptr, nullptr, write(bytes), versions),
              update_result::kProtocolError);
    EXPECT_EQ(device.updateFirmware(nullptr, nullptr, "/nonexistent/firmware.dat", versions),
              update_result::kCannotOpenFile);
    expectConversationDone();
}

TEST_F(FirmwareUpdateTest, ApplicationModeIsRefusedBeforeTheFileIsRead) {
    connectApplication();
    EXPECT_EQ(update(), update_result::kNotBootloader);
    EXPECT_FALSE(log.has("Reading file."));
    expectConversationDone();
}

TEST_F(FirmwareUpdateTest, LinkThatCannotBeReopenedIsMinusSeven) {
    device.link.close();  // as on removal, while the bootloader flag stays
    backend->unopenable = {"/dev/hidraw1"};
    EXPECT_EQ(update(), update_result::kCannotOpenLink);
    expectConversationDone();
}

TEST_F(FirmwareUpdateTest, WrongHardwareStopsBeforeTheFirstBlock) {
    builder.length = 64;
    builder.fillBlock(0);
    scriptQuery(0x0130);
    EXPECT_EQ(update(), update_result::kWrongHardware);
    EXPECT_EQ(versions.hardware, 0x0130);
    EXPECT_TRUE(progress.calls.empty());
    expectConversationDone();
}

TEST_F(FirmwareUpdateTest, TransferFaultsEndTheUpdateAtOnce) {
    builder.length = 200;
    for (int b = 0; b < 4; ++b) {
        builder.fillBlock(b);
    }
    struct Case {
        const char* name;
        std::function<void()> script;
        int result;
        const char* line;
    };
    const std::vector<Case> cases{
        {"query unsent",
         [&] {
             backend->expectWrite(report({0, 1}), false);
         },
         update_result::kTransferFailed, "Failed to write."},
        {"query unanswered",
         [&] {
             backend->expectWrite(report({0, 1}));
             backend->silence();
         },
         update_result::kTransferFailed, "Failed to read."},
        {"address unsent",
         [&] {
             scriptQuery(0x0120);
             scriptBlock(0);
             backend->expectWrite(report({0, 2}));
             backend->expectWrite(report({0, 64, 0}), false);
         },
         update_result::kTransferFailed, "Failed to write."},
        {"block unanswered",
         [&] {
             scriptQuery(0x0120);
             scriptBlock(0);
             scriptBlock(1);
             scriptBlock(2);
             backend->expectWrite(report({0, 2}));
             backend->expectWrite(report({0, 192, 0}));
             std::vector<std::uint8_t> data(65, 0);
             std::copy_n(builder.image.begin() + 192, 64, data.begin() + 1);
             backend->expectWrite(data);
             backend->silence();
         },
         update_result::kTransferFailed, "Failed to read."},
        {"block refused",
         [&] {
             scriptQuery(0x0120);
             scriptBlock(0, 0);
         },
         update_result::kProtocolError, "Protocol error."},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        LogCapture caseLog;
        k.script();
        EXPECT_EQ(update(), k.result);
        expectConversationDone();
        EXPECT_TRUE(caseLog.has(k.line));
    }
}

}  // namespace
}  // namespace tevusb::device::testing
