#include "graphics/PngCodec.h"

#include <csetjmp>
#include <cstdio>
#include <exception>
#include <png.h>

// libpng reports a fatal error through its error function, which must not
// return. libpng is C, so no C++ exception may pass through it: the error
// function keeps the message and jumps back with longjmp to the stage that
// called libpng; the stage returns false and its C++ caller throws. The
// stages hold no object with a destructor; the libpng structures live in
// the encoder's state, which frees them on every path.

namespace tsb {

namespace {

// Pixels per metre of 96 dots per inch, the screen's resolution.
constexpr png_uint_32 ScreenPixelsPerMetre = 3780;

struct TWriter {
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    TByteSink* Sink = nullptr;
    std::exception_ptr SinkError;
    char Message[200] = "";
};

void ErrorExit(png_structp png, png_const_charp message) {
    auto* w = static_cast<TWriter*>(png_get_error_ptr(png));
    std::snprintf(w->Message, sizeof w->Message, "%s", message);
    png_longjmp(png, 1);
}

void Warning(png_structp, png_const_charp) {}

// A sink that throws is caught here and reported to libpng as an error.
void WriteData(png_structp png, png_bytep data, png_size_t size) {
    auto* w = static_cast<TWriter*>(png_get_io_ptr(png));
    bool failed = false;
    try {
        (*w->Sink)(data, size);
    } catch (...) {
        w->SinkError = std::current_exception();
        failed = true;
    }
    if (failed) png_error(png, "Stream write error");
}

void FlushData(png_structp) {}

bool Start(TWriter* w, int width, int height) {
    if (setjmp(png_jmpbuf(w->Png))) return false;
    png_set_write_fn(w->Png, w, WriteData, FlushData);
    png_set_IHDR(w->Png, w->Info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(w->Png, w->Info, ScreenPixelsPerMetre, ScreenPixelsPerMetre, PNG_RESOLUTION_METER);
    // Diagrams are flat colours, which the row filters hardly help: without
    // them a page encodes in half the time, in a file not much larger.
    png_set_filter(w->Png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(w->Png, w->Info);
    // Rows come as they lie in an RGB32 image: blue, green, red, unused.
    png_set_bgr(w->Png);
    png_set_filler(w->Png, 0, PNG_FILLER_AFTER);
    return true;
}

bool WriteRow(TWriter* w, png_const_bytep row) {
    if (setjmp(png_jmpbuf(w->Png))) return false;
    png_write_row(w->Png, row);
    return true;
}

bool End(TWriter* w) {
    if (setjmp(png_jmpbuf(w->Png))) return false;
    png_write_end(w->Png, nullptr);
    return true;
}

} // namespace

struct TPngStreamEncoder::TState {
    TWriter Writer;
    TByteSink Sink;

    ~TState() {
        if (Writer.Png) png_destroy_write_struct(&Writer.Png, &Writer.Info);
    }
};

TPngStreamEncoder::TPngStreamEncoder(int width, int height, TByteSink sink)
    : TRowEncoder(width, height), F(std::make_unique<TState>()) {
    if (width <= 0 || height <= 0) throw EPNG("PNG image is empty");
    // libpng's own limit, which it reports only as "Invalid IHDR data".
    if (width > PNG_USER_WIDTH_MAX || height > PNG_USER_HEIGHT_MAX)
        throw EPNG("PNG image is too large");
    F->Sink = std::move(sink);
    TWriter& w = F->Writer;
    w.Sink = &F->Sink;
    w.Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &w, ErrorExit, Warning);
    if (w.Png) w.Info = png_create_info_struct(w.Png);
    if (!w.Png || !w.Info) throw EPNG("Not enough memory to write the PNG image");
    if (!Start(&w, width, height)) Fail();
}

TPngStreamEncoder::~TPngStreamEncoder() = default;

std::exception_ptr TPngStreamEncoder::Failure() const {
    if (F->Writer.SinkError) return F->Writer.SinkError;
    return std::make_exception_ptr(EPNG(F->Writer.Message));
}

std::exception_ptr TPngStreamEncoder::BadSize() const {
    return std::make_exception_ptr(EPNG("PNG image size is not valid"));
}

bool TPngStreamEncoder::EncodeRow(const std::uint8_t* row) {
    return WriteRow(&F->Writer, row);
}

bool TPngStreamEncoder::EncodeEnd() {
    return End(&F->Writer);
}

} // namespace tsb
