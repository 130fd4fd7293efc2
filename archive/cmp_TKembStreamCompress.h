// The codec component: a pump that moves a byte stream from OnReadBuffer to OnWriteBuffer
// through two 8 KB buffers. Compress and Decompress are the identity, so an archived file's
// bytes are stored as they are. The archive component (cmp_TKembCompress) derives from it.
#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "runtime/Classes.h"
#include "runtime/TypInfo.h"

constexpr std::int32_t kKSCBufferSize = 8192;
using TKSCBuffer = std::array<std::uint8_t, kKSCBufferSize>;

class TKembStreamCompress;

// The handler fills Buf with up to 8192 bytes and sets BIB to their count; 0 ends the input.
using TReadBufferEvent = rt::TEvent<TKembStreamCompress* /*KSC*/, TKSCBuffer& /*Buf*/, std::int32_t& /*BIB*/>;
// The handler takes the first BIB bytes of Buf (1 to 8192).
using TWriteBufferEvent = rt::TEvent<TKembStreamCompress* /*KSC*/, TKSCBuffer& /*Buf*/, std::int32_t /*BIB*/>;

class TKembStreamCompress : public rt::TComponent {
    RT_CLASS(TKembStreamCompress, rt::TComponent)
public:
    explicit TKembStreamCompress(rt::TComponent* owner);

    // Both run the same pump. Every write but the last carries exactly 8192 bytes, the last
    // the remainder; empty input writes nothing. Reads may return any count from 1 to 8192,
    // and the next read comes only when the input buffer is used up. An exception from a
    // handler leaves at once; a count outside 0..8192 raises EKCInvalidBufferCount.
    void Compress();
    void Decompress();

    TReadBufferEvent OnReadBuffer;
    TWriteBufferEvent OnWriteBuffer;

private:
    void Pump();
    void Flush();

    // The input and the output buffer. A whole block that meets an empty output trades
    // places with it instead of being copied; the handlers see the same bytes either way.
    TKSCBuffer FBuffers[2]{};
    TKSCBuffer* FInput = &FBuffers[0];
    std::int32_t FInputCount = 0;
    std::int32_t FInputPosition = 0;
    TKSCBuffer* FOutput = &FBuffers[1];
    std::int32_t FOutputCount = 0;
};
