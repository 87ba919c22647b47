// libFuzzer target for the rich-text reader and the text decoders: any
// bytes must give text or a QuorError, never a crash, a hang or a read out
// of bounds.
#include "formats/rtf_reader.h"
#include "formats/text_decoding.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // Seeds begin "{\rtf"; mutations that lose it still exercise the plain
    // text path, as "所有文件" would read them.
    try {
        quor::rtfPlainText(bytes);
    } catch (const quor::QuorError &) {
    }
    quor::decodeTextFile(bytes);
    return 0;
}
