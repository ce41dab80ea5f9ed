#include "tools/ornet5-sim/detector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "link/checksum.h"
#include "link/frame.h"

namespace ornet5 {
namespace {

constexpr std::uint16_t kWord = 0xFC7B;

std::string Bytes(std::initializer_list<int> values) {
    std::string result;
    for (int v : values) {
        result += static_cast<char>(v);
    }
    return result;
}

std::string IdentifyRequest() {
    return BuildFrame(kAllNodesAddress, kOwnAddress, 0, 0, "");
}

std::string ReadDoseRequest() {
    return BuildFrame(kAllNodesAddress, kOwnAddress, 6, 13, std::string(1, '\0'));
}

TDetector MakeDetector(TDetectorFaults faults = {}) {
    return TDetector(
        {.address = Bytes({4, 2, 31}), .faults = faults, .nextReading = [] { return kWord; }});
}

// The only reply's bytes, all pieces joined.
std::string OnlyReply(const TFeedResult& result) {
    EXPECT_EQ(result.replies.size(), 1u);
    std::string joined;
    if (!result.replies.empty()) {
        for (const std::string& piece : result.replies.front().pieces) {
            joined += piece;
        }
    }
    return joined;
}

bool LogHas(const TFeedResult& result, ELogKind kind, const std::string& part) {
    return std::any_of(result.log.begin(), result.log.end(), [&](const TLogLine& line) {
        return line.kind == kind && line.text.find(part) != std::string::npos;
    });
}

void ExpectValidHeader(const std::string& reply, int command, int parameter, int length) {
    ASSERT_GE(reply.size(), frame::kData);
    EXPECT_EQ(reply.substr(0, 3), Bytes({1, 1, 1})) << "addressed to the requester";
    EXPECT_EQ(reply.substr(3, 3), Bytes({4, 2, 31})) << "own address";
    EXPECT_EQ(reply.substr(6, 4), Bytes({command, parameter, length, 0}));
    EXPECT_EQ(reply.substr(10, 4), ChecksumBytes(reply.substr(0, 10)));
}

TEST(DetectorReplies, IdentifyGetsFourteenBytesWithOwnAddress) {
    TDetector detector = MakeDetector();
    const TFeedResult result = detector.Feed(IdentifyRequest());
    const std::string reply = OnlyReply(result);
    ASSERT_EQ(reply.size(), 14u);
    ExpectValidHeader(reply, 0, 0, 0);
    EXPECT_EQ(result.replies.front().pieces.size(), 1u);
    EXPECT_TRUE(LogHas(result, ELogKind::Request, "FF FF FF 01 01 01 00 00 00 00 0F 84 74 80"));
    EXPECT_TRUE(LogHas(result, ELogKind::Reply, "01 01 01 04 02 1F"));
}

TEST(DetectorReplies, ReadDoseGetsTwentyOneBytesWithTheReading) {
    TDetector detector = MakeDetector();
    const std::string reply = OnlyReply(detector.Feed(ReadDoseRequest()));
    ASSERT_EQ(reply.size(), 21u);
    ExpectValidHeader(reply, 6, 13, 3);
    EXPECT_EQ(reply.substr(14, 3), Bytes({0, 0x7B, 0xFC})) << "reading little-endian";
    EXPECT_EQ(reply.substr(17), ChecksumBytes(reply.substr(14, 3)));
}

TEST(DetectorReplies, ReplyGoesBackToWhoeverAsked) {
    TDetector detector = MakeDetector();
    const std::string reply =
        OnlyReply(detector.Feed(BuildFrame(kAllNodesAddress, "7.8.9", 0, 0, "")));
    ASSERT_EQ(reply.size(), 14u);
    EXPECT_EQ(reply.substr(0, 3), Bytes({7, 8, 9}));
}

TEST(DetectorReplies, EachReadDoseTakesAFreshReading) {
    std::uint16_t next = 0x0100;
    TDetector detector(
        {.address = Bytes({4, 2, 31}), .faults = {}, .nextReading = [&] { return next++; }});
    const TFeedResult result = detector.Feed(ReadDoseRequest() + ReadDoseRequest());
    ASSERT_EQ(result.replies.size(), 2u);
    EXPECT_EQ(result.replies[0].pieces.front().substr(15, 2), Bytes({0x00, 0x01}));
    EXPECT_EQ(result.replies[1].pieces.front().substr(15, 2), Bytes({0x01, 0x01}));
}

TEST(DetectorFraming, RequestArrivingByteByByteIsAnsweredOnceComplete) {
    TDetector detector = MakeDetector();
    const std::string request = ReadDoseRequest();
    for (std::size_t i = 0; i + 1 < request.size(); ++i) {
        EXPECT_TRUE(detector.Feed(request.substr(i, 1)).replies.empty()) << "after byte " << i;
        EXPECT_TRUE(detector.HasPending());
    }
    EXPECT_EQ(OnlyReply(detector.Feed(request.substr(request.size() - 1))).size(), 21u);
    EXPECT_FALSE(detector.HasPending());
}

TEST(DetectorFraming, GarbageBeforeARequestIsSkipped) {
    TDetector detector = MakeDetector();
    // Starts like a request header so that a naive match would lock onto it.
    const std::string garbage = Bytes({0x00, 0xFF, 0xFF, 0xFF, 0x01, 0x01});
    const TFeedResult result = detector.Feed(garbage + IdentifyRequest());
    EXPECT_EQ(OnlyReply(result).size(), 14u);
    EXPECT_TRUE(LogHas(result, ELogKind::Note, "skipped 6 byte(s)"));
}

TEST(DetectorFraming, GarbageSplitAcrossReadsIsSkipped) {
    TDetector detector = MakeDetector();
    const std::string stream = std::string(20, '\x55') + IdentifyRequest();
    std::size_t replies = 0;
    for (std::size_t i = 0; i < stream.size(); i += 5) {
        replies += detector.Feed(stream.substr(i, 5)).replies.size();
    }
    EXPECT_EQ(replies, 1u);
}

TEST(DetectorFraming, BadHeaderChecksumIsIgnoredAndNextRequestStillAnswered) {
    TDetector detector = MakeDetector();
    std::string bad = IdentifyRequest();
    bad[11] ^= 0x01;
    EXPECT_TRUE(detector.Feed(bad).replies.empty());
    EXPECT_EQ(OnlyReply(detector.Feed(ReadDoseRequest())).size(), 21u);
}

TEST(DetectorFraming, BadDataChecksumIsIgnoredAndNextRequestStillAnswered) {
    TDetector detector = MakeDetector();
    std::string bad = ReadDoseRequest();
    bad.back() ^= 0x01;
    const TFeedResult rejected = detector.Feed(bad);
    EXPECT_TRUE(rejected.replies.empty());
    EXPECT_TRUE(LogHas(rejected, ELogKind::Note, "bad data checksum"));
    EXPECT_FALSE(LogHas(rejected, ELogKind::Request, ""));
    EXPECT_EQ(OnlyReply(detector.Feed(IdentifyRequest())).size(), 14u);
}

TEST(DetectorFraming, TruncatedRequestFollowedByAFullOneIsRecovered) {
    // A request cut short: its header promises data that never comes, so the
    // next request's bytes are first taken as that data.
    TDetector detector = MakeDetector();
    const TFeedResult result = detector.Feed(ReadDoseRequest().substr(0, 16) + IdentifyRequest());
    const std::string reply = OnlyReply(result);
    EXPECT_EQ(reply.size(), 14u);
}

TEST(DetectorFraming, DiscardPendingForgetsAnUnfinishedFrame) {
    TDetector detector = MakeDetector();
    detector.Feed(ReadDoseRequest().substr(0, 12));
    ASSERT_TRUE(detector.HasPending());
    const std::vector<TLogLine> log = detector.DiscardPending();
    EXPECT_FALSE(detector.HasPending());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().kind, ELogKind::Note);
    // The rest of the old frame would now only be garbage before a request.
    EXPECT_EQ(OnlyReply(detector.Feed(ReadDoseRequest().substr(12) + IdentifyRequest())).size(),
              14u);
}

TEST(DetectorFraming, OtherRequestsAreIgnoredAndLogged) {
    const std::string others[] = {
        BuildFrame(kAllNodesAddress, kOwnAddress, 6, 12, std::string(1, '\0')),
        BuildFrame(kAllNodesAddress, kOwnAddress, 1, 0, ""),
        BuildFrame(kAllNodesAddress, kOwnAddress, 0, 13, ""),
        BuildFrame(kAllNodesAddress, kOwnAddress, 0, 0, "x"),  // identify carries no data
        BuildFrame("9.9.9", kOwnAddress, 0, 0, ""),            // for another node
    };
    for (const std::string& request : others) {
        TDetector detector = MakeDetector();
        const TFeedResult result = detector.Feed(request);
        EXPECT_TRUE(result.replies.empty());
        EXPECT_TRUE(LogHas(result, ELogKind::Note, "ignored"));
        EXPECT_FALSE(detector.HasPending());
    }
}

TEST(DetectorFraming, RequestToOwnAddressIsAnswered) {
    TDetector detector = MakeDetector();
    EXPECT_EQ(
        OnlyReply(detector.Feed(BuildFrame("4.2.31", kOwnAddress, 6, 13, std::string(1, '\0'))))
            .size(),
        21u);
}

// Positions where two replies differ.
std::vector<std::size_t> Differences(const std::string& a, const std::string& b) {
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i] != b[i]) {
            positions.push_back(i);
        }
    }
    return positions;
}

TEST(DetectorFaults, SilentLogsTheRequestButNeverAnswers) {
    TDetector detector = MakeDetector({.silent = true});
    const TFeedResult result = detector.Feed(IdentifyRequest() + ReadDoseRequest());
    EXPECT_TRUE(result.replies.empty());
    EXPECT_TRUE(LogHas(result, ELogKind::Request, "FF FF FF 01 01 01 06 0D"));
}

TEST(DetectorFaults, BadHeaderChecksumCorruptsOnlyTheHeaderChecksum) {
    for (const std::string& request : {IdentifyRequest(), ReadDoseRequest()}) {
        const std::string good = OnlyReply(MakeDetector().Feed(request));
        const std::string bad = OnlyReply(MakeDetector({.badHeaderChecksum = true}).Feed(request));
        ASSERT_EQ(bad.size(), good.size());
        EXPECT_EQ(Differences(good, bad), std::vector<std::size_t>{10});
        EXPECT_NE(bad.substr(10, 4), ChecksumBytes(bad.substr(0, 10)));
    }
}

TEST(DetectorFaults, BadDataChecksumCorruptsOnlyTheDataChecksum) {
    const std::string good = OnlyReply(MakeDetector().Feed(ReadDoseRequest()));
    const std::string bad =
        OnlyReply(MakeDetector({.badDataChecksum = true}).Feed(ReadDoseRequest()));
    ASSERT_EQ(bad.size(), 21u);
    EXPECT_EQ(Differences(good, bad), std::vector<std::size_t>{17});
    EXPECT_NE(bad.substr(17), ChecksumBytes(bad.substr(14, 3)));
    // The identify reply carries no data checksum and stays whole.
    EXPECT_EQ(OnlyReply(MakeDetector({.badDataChecksum = true}).Feed(IdentifyRequest())),
              OnlyReply(MakeDetector().Feed(IdentifyRequest())));
}

TEST(DetectorFaults, SplitGivesTwoPiecesThatTogetherAreTheReply) {
    for (const std::string& request : {IdentifyRequest(), ReadDoseRequest()}) {
        const std::string whole = OnlyReply(MakeDetector().Feed(request));
        const TFeedResult split = MakeDetector({.split = true}).Feed(request);
        ASSERT_EQ(split.replies.size(), 1u);
        const std::vector<std::string>& pieces = split.replies.front().pieces;
        ASSERT_EQ(pieces.size(), 2u);
        EXPECT_FALSE(pieces[0].empty());
        EXPECT_FALSE(pieces[1].empty());
        EXPECT_EQ(pieces[0] + pieces[1], whole);
    }
}

}  // namespace
}  // namespace ornet5
