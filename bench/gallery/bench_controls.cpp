// Drawing cost of the controls that fit or lay out text on every paint: the image button's title
// size search (up to two layouts of up to 46 measurements each) and the path bar's layout.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "controls/IMGButton.h"
#include "controls/ITPathbar.h"

namespace
{

QApplication &app()
{
    static int argc = 1;
    static char name[] = "bench_controls";
    static char *argv[] = { name, nullptr };
    static QApplication application(argc, argv);
    return application;
}

void paintInto(QWidget &widget, QImage &canvas)
{
    widget.render(&canvas, QPoint(), QRegion(), QWidget::RenderFlags());
}

void BM_IMGButtonPaint(benchmark::State &state)
{
    app();
    IMGButton button;
    button.setButtonsImages("blue_left_btn", "blue_mid_btn", "blue_right_btn", "blue_left_btn",
        "blue_mid_btn", "blue_right_btn", "grey_left_btn", "grey_mid_btn", "grey_right_btn");
    button.setText(state.range(0) ? QStringLiteral("Remove Marked Files") : QStringLiteral("Scan"));
    button.resize(180, 44);
    QImage canvas(button.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        paintInto(button, canvas);
}
BENCHMARK(BM_IMGButtonPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_PathbarPaint(benchmark::State &state)
{
    app();
    ITPathbar bar;
    bar.setPathToPathController(QStringLiteral("/usr/share/doc/some/deeper/folder/photo.jpg"));
    bar.resize(static_cast<int>(state.range(0)), 24);
    QImage canvas(bar.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        paintInto(bar, canvas);
}
BENCHMARK(BM_PathbarPaint)->Arg(200)->Arg(800)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
