// libFuzzer target for the picture loader: any bytes must give a picture or
// a QuorError, never a crash, a hang or a read out of bounds; and the
// headers of any bytes describe a file without one either.
#include "formats/picture_file_form.h"
#include "formats/picture_loader.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Text in metafiles needs fonts, and fonts need a GUI application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_picture_loader";
    static char *argv[] = {name, nullptr};
    new QGuiApplication(argc, argv); // lives until the process ends
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Small limits keep each run quick; the refusal path is what counts.
    quor::PictureLimits limits;
    limits.maxSide = 4096;
    limits.maxPixels = 1 << 20;
    const quor::ByteSpan bytes(data, size);
    try {
        quor::decodePicture(bytes, limits);
    } catch (const quor::QuorError &) {
    }
    // What Save would drop is read from the headers of any file.
    quor::describePictureFile(bytes);
    return 0;
}
