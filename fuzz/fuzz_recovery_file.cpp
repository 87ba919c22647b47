// libFuzzer target for the recovery file reader: any bytes must give a
// record or a reason, never a crash, a hang or a read out of bounds.
#include "formats/recovery_file.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    quor::readRecoveryRecord(buffer, bytes.size(), quor::RecoveryPart::Header);
    buffer.seek(0);
    quor::readRecoveryRecord(buffer, bytes.size());
    return 0;
}
