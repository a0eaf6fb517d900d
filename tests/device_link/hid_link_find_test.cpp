// SPDX-License-Identifier: MIT
// Finding the altimeter among the HID interfaces, opening it, and telling whether a
// removal concerns it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "device/hid_link.h"
#include "fake_hid_backend.h"
#include "test_support.h"

namespace tevusb::device::test {
namespace {

std::vector<std::string> paths(const std::vector<HidDeviceInfo>& list) {
    std::vector<std::string> out;
    for (const auto& info : list) {
        out.push_back(info.path);
    }
    return out;
}

class HidLinkFindTest : public ::testing::Test {
  protected:
    void SetUp() override {
        backend->setInterfaces({
            {"/dev/hidraw0", 0x046d, 0xc077, 0x0150},  // a mouse with a confusing version
            {"/dev/hidraw1", 0x03db, 0x0002, 0x0151},  // altimeter 1.51
            {"/dev/hidraw2", 0x03db, 0x0001, 0x0112},  // an altimeter in its bootloader
            {"/dev/hidraw3", 0x03db, 0x0002, 0x0140},  // altimeter, too old
            {"/dev/hidraw4", 0x03db, 0x0002, 0x0150},  // second altimeter, same ids
            {"/dev/hidraw1", 0x03db, 0x0002, 0x0151},  // hidraw1's second collection
        });
    }
    std::shared_ptr<FakeHidBackend> backend = std::make_shared<FakeHidBackend>();
    HidLink link{backend};
};

TEST_F(HidLinkFindTest, FilterMatchesIdsAndMaskedVersionInEnumerationOrder) {
    EXPECT_EQ(paths(link.findDevices(0x03db, 2, 0x0150, 0xFFF0)),
              (std::vector<std::string>{"/dev/hidraw1", "/dev/hidraw4"}));
    EXPECT_EQ(paths(link.findDevices(0x03db, 1, 0x0110, 0xFFF0)),
              (std::vector<std::string>{"/dev/hidraw2"}));
    // The exact version under a full mask.
    EXPECT_EQ(paths(link.findDevices(0x03db, 2, 0x0151, 0xFFFF)),
              (std::vector<std::string>{"/dev/hidraw1"}));
    // Nothing of the 1.6x family.
    EXPECT_TRUE(link.findDevices(0x03db, 2, 0x0160, 0xFFF0).empty());
    // A version outside the mask can never match.
    EXPECT_TRUE(link.findDevices(0x03db, 2, 0x0151, 0xFFF0).empty());
}

TEST_F(HidLinkFindTest, ZeroIdsAreWildcardsAndEveryPathIsListedOnce) {
    EXPECT_EQ(paths(link.findDevices(0, 0, 0, 0)),
              (std::vector<std::string>{"/dev/hidraw0", "/dev/hidraw1", "/dev/hidraw2",
                                        "/dev/hidraw3", "/dev/hidraw4"}));
    EXPECT_EQ(
        paths(link.findDevices(0x03db, 0, 0, 0)),
        (std::vector<std::string>{"/dev/hidraw1", "/dev/hidraw2", "/dev/hidraw3", "/dev/hidraw4"}));
    EXPECT_EQ(paths(link.findDevices(0, 0x0002, 0x0150, 0xFFF0)),
              (std::vector<std::string>{"/dev/hidraw1", "/dev/hidraw4"}));
    const auto any = link.findDevices(0x03db, 2, 0, 0);
    ASSERT_EQ(any.size(), 3u);
    EXPECT_EQ(any[1].versionNumber, 0x0140);
    EXPECT_EQ(any[1].vendorId, 0x03db);
    EXPECT_EQ(any[1].productId, 0x0002);
}

TEST_F(HidLinkFindTest, NoInterfacesGiveAnEmptyList) {
    backend->setInterfaces({});
    EXPECT_TRUE(link.findDevices(0, 0, 0, 0).empty());
}

TEST_F(HidLinkFindTest, OpenFailureLogsBothHandlesAndLeavesTheLinkClosed) {
    link.setDevice({"/dev/hidraw4", 0x03db, 2, 0x0150});  // listed but cannot be opened
    LogCapture log;
    EXPECT_FALSE(link.open());
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(log.text(),
              "Cant get USB file handle. The file is locked.\n"
              "Invalid read handle.\n"
              "Invalid write handle.\n");
}

TEST_F(HidLinkFindTest, OpenWithoutAChosenDeviceFails) {
    LogCapture log;
    EXPECT_FALSE(link.open());
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(backend->opens(), 0);
}

TEST_F(HidLinkFindTest, RemovalMatchIgnoresCaseAndLogsBothPaths) {
    link.setDevice({"/dev/HIDRAW4", 0x03db, 2, 0x0150});
    {
        LogCapture log;
        EXPECT_TRUE(link.isSameDevice("/dev/hidraw4"));
        EXPECT_EQ(log.text(), "->/dev/HIDRAW4\n->/dev/hidraw4\n");
    }
    {
        LogCapture log;
        EXPECT_FALSE(link.isSameDevice("/dev/hidraw1"));
        EXPECT_EQ(log.text(), "->/dev/HIDRAW4\n->/dev/hidraw1\nMatch Failed.\n");
    }
    {
        // A prefix of the path is another device.
        LogCapture log;
        EXPECT_FALSE(link.isSameDevice("/dev/hidraw"));
        EXPECT_NE(log.text().find("Match Failed."), std::string::npos);
    }
}

TEST_F(HidLinkFindTest, RemovalNeverMatchesWhenNoDeviceWasChosen) {
    LogCapture log;
    EXPECT_FALSE(link.isSameDevice(""));
    EXPECT_EQ(log.text(), "->\n->\nMatch Failed.\n");
}

TEST(HidLinkBackend, MissingBackendFindsNothingAndNeverOpens) {
    HidLink link(nullptr);
    EXPECT_TRUE(link.findDevices(0, 0, 0, 0).empty());
    link.setDevice({"/dev/hidraw0", 1, 2, 3});
    LogCapture log;
    EXPECT_FALSE(link.open());
}

TEST(HidLinkBackend, SwappingTheBackendClosesTheLink) {
    auto first = std::make_shared<FakeHidBackend>();
    auto device = std::make_shared<FakeDevice>();
    first->attach("/dev/hidraw0", device);
    HidLink link(first);
    link.setDevice({"/dev/hidraw0", 0x03db, 2, 0x0150});
    ASSERT_TRUE(link.open());
    auto second = std::make_shared<FakeHidBackend>();
    link.setBackend(second);
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(&link.backend(), second.get());
    EXPECT_TRUE(pollUntil([&] { return device->liveHandles == 0; }));
}

}  // namespace
}  // namespace tevusb::device::test
