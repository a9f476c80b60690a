// What the fuzz targets share: the application object they need, stopping on
// a broken invariant, and painting what was read onto a small clipped raster
// canvas and onto the vector back end of a page recording.
#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "graphics/Canvas.h"
#include "graphics/Metafile.h"

namespace tsbfuzz {

// The application object of type App (QGuiApplication or QApplication) on
// the offscreen platform, silent.
template <typename App> void StartApplication(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static App app(*argc, *argv);
}

[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

[[noreturn]] inline void Fail(const char* what, const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", what, e.what());
    std::abort();
}

// Size of the small canvases: a few of the page's pixels, so painting costs
// what it shows whatever the size of what was read.
constexpr int ViewWidth = 64;
constexpr int ViewHeight = 48;

// Runs paint(canvas, x, y) with the view's top-left at (x, y) of what is
// painted: on an image clipped inside its edges, then on a page recording,
// raster shadow included, which is played back afterwards.
template <typename F> void PaintViews(int x, int y, F&& paint) {
    QImage image(ViewWidth, ViewHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    tsb::TCanvas raster;
    raster.Bind(&image, {0, 0}, {2, 3, ViewWidth - 4, ViewHeight - 2});
    paint(raster, -x, -y);
    raster.Unbind();

    tsb::TMetafile page(ViewWidth, ViewHeight);
    {
        tsb::TMetafileCanvas recording(page);
        paint(recording, -x, -y);
    }
    QImage played(ViewWidth / 2, ViewHeight / 2, QImage::Format_RGB32);
    QPainter painter(&played);
    page.Play(painter, played.rect());
}

} // namespace tsbfuzz
