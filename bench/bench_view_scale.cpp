// A full 1280 x 1024 view repainted at 800 % of an 8000 x 8000 picture
// beside the same repaint at 100 %: the view scale scales only what the
// screen shows, so both cost about the same.
#include "document/picture_box.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

namespace {

void BM_ViewRepaint(benchmark::State &state)
{
    static QImage picture = [] {
        QImage img(8000, 8000, QImage::Format_RGB32);
        img.fill(QColor(120, 130, 140));
        return img;
    }();
    QWidget view;
    view.resize(1280, 1024);
    auto *box = new quor::PictureBox(QStringLiteral("Picture1"), &view);
    box->setPicture(picture);
    box->setPixelGrid(true);
    box->setViewScale(int(state.range(0)));
    // Scrolled into the middle of the picture.
    box->moveTwips(-quor::pixelsToTwips(box->width() / 2), -quor::pixelsToTwips(box->height() / 2));
    QImage screen(1280, 1024, QImage::Format_RGB32);
    for (auto _ : state) {
        view.render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_ViewRepaint)->Arg(100)->Arg(800)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
