// The text fold of searches, fed any bytes: it must stay inside the room it is promised (twice the input), and what
// it makes of well-formed UTF-8 must be well-formed UTF-8, since the engine compares the folds as text.
#include "platform/TextFold.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView input(data, qsizetype(size));
    // Exactly the promised room on the heap, so that a byte written past it is met by the address sanitizer.
    const auto room = std::make_unique<char[]>(2 * size);
    const char* end = fold(input, room.get());
    if (input.isValidUtf8() && !QByteArrayView(room.get(), end - room.get()).isValidUtf8())
        std::abort();
    return 0;
}
