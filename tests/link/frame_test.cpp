#include <gtest/gtest.h>

#include <string>

#include "link/checksum.h"
#include "link/device_address.h"
#include "link/frame.h"

namespace ornet5 {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string result;
    for (int v : values) {
        result += static_cast<char>(v);
    }
    return result;
}

TEST(Checksum, DefinitionExamples) {
    EXPECT_EQ(FrameChecksum(""), 0u);
    EXPECT_EQ(ChecksumBytes(""), Bytes({0, 0, 0, 0}));
    EXPECT_EQ(FrameChecksum(Bytes({0})), 0u);
    EXPECT_EQ(FrameChecksum(Bytes({0xAB})), 0xABu);
    EXPECT_EQ(FrameChecksum(Bytes({0x12, 0x34})), 0x1234u);
    EXPECT_EQ(FrameChecksum("abc"), 0x6E43u);
    EXPECT_EQ(ChecksumBytes("abc"), Bytes({0x43, 0x6E, 0, 0}));
}

TEST(Checksum, RotationWrapsHighBitsAround) {
    // Eight pairs of FF FF push set bits through bit 31 and back to bit 0.
    std::uint32_t expected = 0;
    for (int i = 0; i < 8; ++i) {
        expected = ((expected << 5) | (expected >> 27)) ^ 0xFFFFu;
    }
    EXPECT_EQ(FrameChecksum(std::string(16, '\xFF')), expected);
}

TEST(Frame, RequestsOfTheMonitorByteForByte) {
    EXPECT_EQ(BuildFrame(kAllNodesAddress, kOwnAddress, 0, 0, ""),
              Bytes({0xFF, 0xFF, 0xFF, 1, 1, 1, 0, 0, 0, 0, 0x0F, 0x84, 0x74, 0x80, 0, 0, 0, 0}));
    EXPECT_EQ(
        BuildFrame(kAllNodesAddress, kOwnAddress, 6, 13, Bytes({0})),
        Bytes({0xFF, 0xFF, 0xFF, 1, 1, 1, 6, 0x0D, 1, 0, 0xAF, 0x44, 0x74, 0x80, 0, 0, 0, 0, 0}));
}

TEST(Frame, LengthFieldAndDataChecksum) {
    const std::string data(300, 'z');
    const std::string frame = BuildFrame("1.2.3", "4.5.6", 7, 8, data);
    ASSERT_EQ(frame.size(), 300u + 18u);
    EXPECT_EQ(frame.substr(8, 2), Bytes({300 % 256, 300 / 256}));
    EXPECT_EQ(frame.substr(10, 4), ChecksumBytes(frame.substr(0, 10)));
    EXPECT_EQ(frame.substr(14, 300), data);
    EXPECT_EQ(frame.substr(314), ChecksumBytes(data));
    EXPECT_THROW(BuildFrame("1.2.3", "4.5.6", 0, 0, std::string(65536, 'a')), std::length_error);
}

TEST(Frame, LongAddressTextIsCutToElevenCharacters) {
    EXPECT_EQ(BuildFrame("255.255.2550", kOwnAddress, 0, 0, "").substr(0, 3),
              Bytes({0xFF, 0xFF, 0xFF}));
    EXPECT_THROW(BuildFrame("1.2", kOwnAddress, 0, 0, ""), EFormatError);
    EXPECT_THROW(BuildFrame(kAllNodesAddress, "x", 0, 0, ""), EFormatError);
}

TEST(DeviceAddress, WellFormedTexts) {
    EXPECT_EQ(ParseDeviceAddress(" 255.255.255 "), Bytes({0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(ParseDeviceAddress("\t1.1.1\r\n"), Bytes({1, 1, 1}));
    EXPECT_EQ(ParseDeviceAddress("256.0.1"), Bytes({0, 0, 1}));
    EXPECT_EQ(ParseDeviceAddress("-1.$10.0x1F"), Bytes({0xFF, 0x10, 0x1F}));
    EXPECT_EQ(ParseDeviceAddress("4. 2. 31"), Bytes({4, 2, 31}));
}

TEST(DeviceAddress, MalformedTextsFailWithOneMessage) {
    for (const char* text : {"1.2", "1.2.", "1..3", ".2.3", "a.b.c", "1.2.3.4", "", "   ",
                             "1.2.3 4", "1.2.99999999999", "1 .2.3", "-1"}) {
        try {
            ParseDeviceAddress(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const EFormatError& error) {
            EXPECT_EQ(error.Message(), "Неправильно задан адрес устройства") << text;
        }
    }
}

TEST(DeviceAddressText, ThreeBytesAsDecimalNumbers) {
    EXPECT_EQ(DeviceAddressText(std::string("\x04\x02\x1F", 3)), "4.2.31");
    EXPECT_EQ(DeviceAddressText(std::string(3, '\xFF')), "255.255.255");
    EXPECT_EQ(DeviceAddressText(std::string(3, '\0')), "0.0.0");
    EXPECT_EQ(DeviceAddressText(std::string("\x01\x80\x7F", 3)), "1.128.127");
}

TEST(DeviceAddressText, OtherCountsWriteEveryByteGivenAndNoMore) {
    const std::string reply("\x04\x02\x1F\x09", 4);
    EXPECT_EQ(DeviceAddressText(std::string_view(reply).substr(0, 3)), "4.2.31");
    EXPECT_EQ(DeviceAddressText(reply), "4.2.31.9");
    EXPECT_EQ(DeviceAddressText(std::string_view(reply).substr(0, 1)), "4");
    EXPECT_EQ(DeviceAddressText(""), "");
}

}  // namespace
}  // namespace ornet5
