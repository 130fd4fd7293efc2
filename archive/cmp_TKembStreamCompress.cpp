// The codec pump; see cmp_TKembStreamCompress.h. Bytes move as runs between the two buffers
// (or whole blocks by trading the buffers): each step moves as much as the input holds and
// the output has room for, so the calls to the handlers fall exactly where a byte-at-a-time
// pump would make them.
#include "archive/cmp_TKembStreamCompress.h"

#include <algorithm>
#include <cstring>

#include "archive/ArchiveErrors.h"

const rt::TClassInfo& TKembStreamCompress::StaticClass() {
    using K = TKembStreamCompress;
    static const rt::TClassInfo info{"TKembStreamCompress", &rt::TComponent::StaticClass(), rt::Factory<TKembStreamCompress>(),
                                     {rt::Property("OnReadBuffer", &K::OnReadBuffer), rt::Property("OnWriteBuffer", &K::OnWriteBuffer)},
                                     {}};
    return info;
}

TKembStreamCompress::TKembStreamCompress(rt::TComponent* owner) : rt::TComponent(owner) {}

void TKembStreamCompress::Compress() { Pump(); }

void TKembStreamCompress::Decompress() { Pump(); }

void TKembStreamCompress::Pump() {
    FOutputCount = 0;
    FInputCount = 0;
    // Past the last valid index, so the first byte wanted refills.
    FInputPosition = 1;
    for (;;) {
        if (FInputPosition > FInputCount - 1) {
            if (OnReadBuffer) {
                OnReadBuffer(this, *FInput, FInputCount);
                if (FInputCount < 0 || FInputCount > kKSCBufferSize) {
                    const std::int32_t bad = FInputCount;
                    FInputCount = 0;
                    throw EKCInvalidBufferCount(bad);
                }
            } else {
                FInputCount = 0;
            }
            if (FInputCount == 0) break;
            FInputPosition = 0;
        }
        // A full output buffer goes out only once another byte is there to follow it.
        if (FOutputCount == kKSCBufferSize) Flush();
        if (FOutputCount == 0 && FInputPosition == 0 && FInputCount == kKSCBufferSize) {
            std::swap(FInput, FOutput);
            FOutputCount = kKSCBufferSize;
            FInputPosition = kKSCBufferSize;
            continue;
        }
        const std::int32_t run = std::min(FInputCount - FInputPosition, kKSCBufferSize - FOutputCount);
        std::memcpy(FOutput->data() + FOutputCount, FInput->data() + FInputPosition, static_cast<std::size_t>(run));
        FOutputCount += run;
        FInputPosition += run;
    }
    if (FOutputCount != 0) Flush();
}

void TKembStreamCompress::Flush() {
    OnWriteBuffer(this, *FOutput, FOutputCount);
    FOutputCount = 0;
}
