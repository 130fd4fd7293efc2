// The codec pump's contract: what reaches OnWriteBuffer and when, for any sizes of reads,
// empty input, unassigned handlers, exceptions from handlers and out-of-range counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/ArchiveErrors.h"
#include "archive/cmp_TKembStreamCompress.h"

namespace {

// Feeds reads of the given sizes from a byte pattern and records every call in order.
class Rig : public rt::TObject {
public:
    explicit Rig(std::vector<std::int32_t> reads) : Reads(std::move(reads)) {
        for (std::int32_t r : Reads) Total += r;
        for (std::size_t i = 0; i < Total; ++i) Input.push_back(static_cast<std::uint8_t>((i * 131 + i / 977) & 0xFF));
        codec.OnReadBuffer = TReadBufferEvent(this, &Rig::Read);
        codec.OnWriteBuffer = TWriteBufferEvent(this, &Rig::Write);
    }
    void Read(TKembStreamCompress* ksc, TKSCBuffer& buf, std::int32_t& bib) {
        EXPECT_EQ(ksc, &codec);
        Calls.push_back("R");
        if (Next >= Reads.size()) {
            bib = 0;
            return;
        }
        bib = Reads[Next++];
        std::copy_n(Input.begin() + static_cast<std::ptrdiff_t>(Given), bib, buf.begin());
        Given += static_cast<std::size_t>(bib);
    }
    void Write(TKembStreamCompress* ksc, TKSCBuffer& buf, std::int32_t bib) {
        EXPECT_EQ(ksc, &codec);
        Calls.push_back(std::string("W") + std::to_string(bib));
        Output.insert(Output.end(), buf.begin(), buf.begin() + bib);
    }

    TKembStreamCompress codec{nullptr};
    std::vector<std::int32_t> Reads;
    std::size_t Total = 0, Next = 0, Given = 0;
    std::vector<std::uint8_t> Input, Output;
    std::vector<std::string> Calls;
};

using Calls = std::vector<std::string>;

TEST(Codec, Pump_WritesFullBuffersOnlyWhenAnotherByteFollows) {
    {
        Rig rig({});
        rig.codec.Compress();
        EXPECT_EQ(rig.Calls, Calls({"R"})) << "empty input: one read, no write";
    }
    {
        Rig rig({8192});
        rig.codec.Compress();
        EXPECT_EQ(rig.Calls, Calls({"R", "R", "W8192"})) << "8192 bytes go out in the final flush";
    }
    {
        Rig rig({8192, 1});
        rig.codec.Decompress();
        EXPECT_EQ(rig.Calls, Calls({"R", "R", "W8192", "R", "W1"})) << "the 8193rd byte pushes the full buffer out";
    }
    {
        Rig rig({1, 5000, 8192});
        rig.codec.Compress();
        EXPECT_EQ(rig.Calls, Calls({"R", "R", "R", "W8192", "R", "W5001"}));
        EXPECT_EQ(rig.Output, rig.Input);
    }
}

TEST(Codec, Pump_ReproducesAnyInputInEightKilobyteWrites) {
    const std::vector<std::vector<std::int32_t>> patterns = {
        {1}, {8191}, {8192, 8192}, {3, 8192, 7, 8190, 1, 1, 8192}, std::vector<std::int32_t>(40, 4097), {8192, 8192, 8192, 100}};
    for (const auto& reads : patterns) {
        Rig rig(reads);
        rig.codec.Compress();
        EXPECT_EQ(rig.Output, rig.Input);
        // Every write but the last is exactly 8192 bytes.
        std::vector<std::string> writes;
        for (const auto& c : rig.Calls)
            if (c[0] == 'W') writes.push_back(c);
        ASSERT_FALSE(writes.empty());
        for (std::size_t i = 0; i + 1 < writes.size(); ++i) EXPECT_EQ(writes[i], "W8192");
        const std::size_t rest = rig.Total % 8192 == 0 ? 8192 : rig.Total % 8192;
        EXPECT_EQ(writes.back(), std::string("W") + std::to_string(rest));
        EXPECT_EQ(writes.size(), (rig.Total + 8191) / 8192);
    }
}

TEST(Codec, CompressThenDecompress_ReturnsTheInput) {
    Rig first({5000, 8192, 3000, 1});
    first.codec.Compress();
    // Feed the first run's output to a second run in its own write sizes.
    std::vector<std::int32_t> sizes;
    for (const auto& c : first.Calls)
        if (c[0] == 'W') sizes.push_back(std::stoi(c.substr(1)));
    Rig second(sizes);
    second.Input = first.Output;
    second.codec.Decompress();
    EXPECT_EQ(second.Output, first.Input);
}

TEST(Codec, UnassignedHandlers_ProduceNothingOrDropTheBytes) {
    TKembStreamCompress codec(nullptr);
    codec.Compress();  // no handlers at all: nothing happens, nothing breaks

    int reads = 0;
    codec.OnReadBuffer = TReadBufferEvent(nullptr, [&reads](TKembStreamCompress*, TKSCBuffer& buf, std::int32_t& bib) {
        bib = reads++ < 3 ? 8192 : 0;
        buf.fill(7);
    });
    codec.Decompress();
    EXPECT_EQ(reads, 4) << "without a write handler the input is still taken to its end";

    int writes = 0;
    TKembStreamCompress writeOnly(nullptr);
    writeOnly.OnWriteBuffer = TWriteBufferEvent(nullptr, [&writes](TKembStreamCompress*, TKSCBuffer&, std::int32_t) { ++writes; });
    writeOnly.Compress();
    EXPECT_EQ(writes, 0);
}

TEST(Codec, Exceptions_LeaveThePumpAtOnce) {
    TKembStreamCompress codec(nullptr);
    int reads = 0, writes = 0;
    codec.OnReadBuffer = TReadBufferEvent(nullptr, [&reads](TKembStreamCompress*, TKSCBuffer&, std::int32_t& bib) {
        ++reads;
        bib = 8192;
    });
    codec.OnWriteBuffer = TWriteBufferEvent(nullptr, [&writes](TKembStreamCompress*, TKSCBuffer&, std::int32_t) {
        if (++writes == 2) throw std::runtime_error("stop");
    });
    EXPECT_THROW(codec.Compress(), std::runtime_error);
    EXPECT_EQ(writes, 2);
    EXPECT_EQ(reads, 3) << "no read after the failing write";

    reads = 0;
    writes = 0;
    codec.OnReadBuffer = TReadBufferEvent(nullptr, [&reads](TKembStreamCompress*, TKSCBuffer&, std::int32_t& bib) {
        if (++reads == 2) throw EKCStop();
        bib = 100;
    });
    EXPECT_THROW(codec.Decompress(), EKCStop);
    EXPECT_EQ(writes, 0) << "the bytes of the first read were never flushed";
}

TEST(Codec, ReadCountOutsideTheBuffer_IsRejected) {
    for (const std::int32_t bad : {-1, 8193, 1 << 30}) {
        TKembStreamCompress codec(nullptr);
        int writes = 0;
        codec.OnReadBuffer = TReadBufferEvent(nullptr, [bad](TKembStreamCompress*, TKSCBuffer&, std::int32_t& bib) { bib = bad; });
        codec.OnWriteBuffer = TWriteBufferEvent(nullptr, [&writes](TKembStreamCompress*, TKSCBuffer&, std::int32_t) { ++writes; });
        try {
            codec.Compress();
            ADD_FAILURE() << "count " << bad << " was accepted";
        } catch (const EKCInvalidBufferCount& e) {
            EXPECT_EQ(e.Count, bad);
            EXPECT_NE(std::string(e.what()).find(std::to_string(bad)), std::string::npos);
        }
        EXPECT_EQ(writes, 0);
    }
    // The edges are fine.
    Rig rig({8192, 1});
    EXPECT_NO_THROW(rig.codec.Compress());
}

}  // namespace
