#include "graphics/JpegCodec.h"

#include <QPainter>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

// libjpeg reports a fatal error by calling error_exit, which must not return.
// libjpeg is C built without unwind tables, so a C++ exception must not pass
// through it: error_exit jumps back with longjmp to the stage that called
// libjpeg, the stage returns false, and its C++ caller throws EJPEG. The
// stage functions hold no object with a destructor and read no local that the
// jump could leave stale; the libjpeg objects live in guards owned by the
// caller, which destroy them on every path.

namespace tsb {

namespace {

// libjpeg's working memory cap, well above what MaxJpegPixels needs.
constexpr long MaxJpegMemory = 512L << 20;

struct TErrorManager {
    jpeg_error_mgr Pub; // first member: libjpeg sees only this part
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
    auto* err = reinterpret_cast<TErrorManager*>(info->err);
    (*info->err->format_message)(info, err->Message);
    std::longjmp(err->Jump, 1);
}

// Warnings about metadata leave the pixels intact; every other warning means
// damaged image data (a file that ends early included) and fails the decode.
void EmitMessage(j_common_ptr info, int level) {
    if (level >= 0) return; // trace messages
    const int code = info->err->msg_code;
    if (code != JWRN_JFIF_MAJOR && code != JWRN_ADOBE_XFORM && code != JWRN_BOGUS_ICC)
        ErrorExit(info);
    ++info->err->num_warnings;
}

void OutputMessage(j_common_ptr) {}

void InitErrorManager(TErrorManager& err) {
    jpeg_std_error(&err.Pub);
    err.Pub.error_exit = ErrorExit;
    err.Pub.emit_message = EmitMessage;
    err.Pub.output_message = OutputMessage;
    err.Message[0] = '\0';
}

struct TDecompressor {
    jpeg_decompress_struct Info{};
    TErrorManager Err{};

    TDecompressor() {
        InitErrorManager(Err);
        Info.err = &Err.Pub;
    }
    // Safe also when creation failed: destroying checks for its memory manager.
    ~TDecompressor() { jpeg_destroy_decompress(&Info); }
    TDecompressor(const TDecompressor&) = delete;
    TDecompressor& operator=(const TDecompressor&) = delete;
};

struct TCompressor {
    jpeg_compress_struct Info{};
    TErrorManager Err{};

    TCompressor() {
        InitErrorManager(Err);
        Info.err = &Err.Pub;
    }
    ~TCompressor() { jpeg_destroy_compress(&Info); }
    TCompressor(const TCompressor&) = delete;
    TCompressor& operator=(const TCompressor&) = delete;
};

// Stage 1 of decoding: the header, and the colour space to decode into.
bool ReadHeader(TDecompressor* d, const std::uint8_t* data, std::size_t size) {
    if (setjmp(d->Err.Jump)) return false;
    jpeg_create_decompress(&d->Info);
    d->Info.mem->max_memory_to_use = MaxJpegMemory;
    jpeg_mem_src(&d->Info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d->Info, TRUE);
    switch (d->Info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        d->Info.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        d->Info.out_color_space = JCS_CMYK;
        break;
    default:
        d->Info.out_color_space = JCS_RGB;
        break;
    }
    return true;
}

void ConvertRow(const JSAMPLE* src, QRgb* dst, JDIMENSION width, J_COLOR_SPACE space,
                bool invertedCmyk) {
    for (JDIMENSION x = 0; x < width; ++x) {
        if (space == JCS_GRAYSCALE) {
            dst[x] = qRgb(src[x], src[x], src[x]);
        } else if (space == JCS_RGB) {
            dst[x] = qRgb(src[3 * x], src[3 * x + 1], src[3 * x + 2]);
        } else {
            // Adobe writes CMYK inverted: 255 means no ink.
            int c = src[4 * x], m = src[4 * x + 1], y = src[4 * x + 2], k = src[4 * x + 3];
            if (!invertedCmyk) {
                c = 255 - c;
                m = 255 - m;
                y = 255 - y;
                k = 255 - k;
            }
            dst[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
        }
    }
}

// Where decoded rows go: the pixels of an image of the header's size.
struct TTarget {
    std::uint8_t* Bits;
    std::size_t BytesPerLine;
    JDIMENSION Width;
    JDIMENSION Height;
};

void Refuse(TDecompressor* d, const char* message) {
    std::snprintf(d->Err.Message, sizeof d->Err.Message, "%s", message);
}

// Stage 2 of decoding: every scanline into the image's pixels, then the end
// of the file, so that data missing at the end is noticed too.
bool ReadPixels(TDecompressor* d, const TTarget* target) {
    if (setjmp(d->Err.Jump)) return false;
    jpeg_decompress_struct* info = &d->Info;
    jpeg_start_decompress(info);
    if (info->output_width != target->Width || info->output_height != target->Height) {
        Refuse(d, "JPEG image size is not valid");
        return false;
    }
    JSAMPARRAY row = (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE,
                                                info->output_width * info->output_components, 1);
    while (info->output_scanline < info->output_height) {
        const JDIMENSION y = info->output_scanline;
        if (jpeg_read_scanlines(info, row, 1) != 1) {
            Refuse(d, "Premature end of JPEG file");
            return false;
        }
        ConvertRow(row[0], reinterpret_cast<QRgb*>(target->Bits + y * target->BytesPerLine),
                   info->output_width, info->out_color_space, info->saw_Adobe_marker);
    }
    jpeg_finish_decompress(info);
    return true;
}

// The stream encoder's libjpeg destination: a buffer handed to the sink
// whenever it fills. A sink that throws is caught here and reported to
// libjpeg as a write error, so no exception passes through libjpeg.
constexpr std::size_t StreamBufferSize = 1 << 16;

struct TStreamDestination {
    jpeg_destination_mgr Pub; // first member: libjpeg sees only this part
    TByteSink* Sink = nullptr;
    std::exception_ptr SinkError;
    JOCTET Buffer[StreamBufferSize];

    bool Flush(std::size_t size) noexcept {
        try {
            if (size > 0) (*Sink)(Buffer, size);
            return true;
        } catch (...) {
            SinkError = std::current_exception();
            return false;
        }
    }
};

void InitDestination(j_compress_ptr info) {
    auto* dest = reinterpret_cast<TStreamDestination*>(info->dest);
    dest->Pub.next_output_byte = dest->Buffer;
    dest->Pub.free_in_buffer = StreamBufferSize;
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
    auto* dest = reinterpret_cast<TStreamDestination*>(info->dest);
    if (!dest->Flush(StreamBufferSize)) ERREXIT(info, JERR_FILE_WRITE);
    InitDestination(info);
    return TRUE;
}

void TermDestination(j_compress_ptr info) {
    auto* dest = reinterpret_cast<TStreamDestination*>(info->dest);
    if (!dest->Flush(StreamBufferSize - dest->Pub.free_in_buffer)) ERREXIT(info, JERR_FILE_WRITE);
}

bool StartStream(TCompressor* c, TStreamDestination* dest, int width, int height, int quality) {
    if (setjmp(c->Err.Jump)) return false;
    jpeg_compress_struct* info = &c->Info;
    jpeg_create_compress(info);
    dest->Pub.init_destination = InitDestination;
    dest->Pub.empty_output_buffer = EmptyOutputBuffer;
    dest->Pub.term_destination = TermDestination;
    info->dest = &dest->Pub;
    info->image_width = static_cast<JDIMENSION>(width);
    info->image_height = static_cast<JDIMENSION>(height);
    // Rows come as they lie in an RGB32 image: blue, green, red, unused.
    info->input_components = 4;
    info->in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality, TRUE);
    jpeg_start_compress(info, TRUE);
    return true;
}

bool WriteStreamRow(TCompressor* c, JSAMPLE* row) {
    if (setjmp(c->Err.Jump)) return false;
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(&c->Info, rows, 1);
    return true;
}

bool FinishStream(TCompressor* c) {
    if (setjmp(c->Err.Jump)) return false;
    jpeg_finish_compress(&c->Info);
    return true;
}

} // namespace

struct TJpegStreamEncoder::TState {
    TCompressor Compressor;
    TStreamDestination Destination;
    TByteSink Sink;
};

TJpegStreamEncoder::TJpegStreamEncoder(int width, int height, TByteSink sink, int quality)
    : TRowEncoder(width, height), F(std::make_unique<TState>()) {
    if (width <= 0 || height <= 0) throw EJPEG("JPEG image is empty");
    if (static_cast<std::int64_t>(width) > JPEG_MAX_DIMENSION ||
        static_cast<std::int64_t>(height) > JPEG_MAX_DIMENSION)
        throw EJPEG("JPEG image is too large");
    F->Sink = std::move(sink);
    F->Destination.Sink = &F->Sink;
    if (!StartStream(&F->Compressor, &F->Destination, width, height, std::clamp(quality, 1, 100)))
        Fail();
}

TJpegStreamEncoder::~TJpegStreamEncoder() = default;

std::exception_ptr TJpegStreamEncoder::Failure() const {
    if (F->Destination.SinkError) return F->Destination.SinkError;
    return std::make_exception_ptr(EJPEG(F->Compressor.Err.Message));
}

std::exception_ptr TJpegStreamEncoder::BadSize() const {
    return std::make_exception_ptr(EJPEG("JPEG image size is not valid"));
}

bool TJpegStreamEncoder::EncodeRow(const std::uint8_t* row) {
    return WriteStreamRow(&F->Compressor, const_cast<JSAMPLE*>(row));
}

bool TJpegStreamEncoder::EncodeEnd() {
    return FinishStream(&F->Compressor);
}

QImage DecodeJpeg(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size == 0) throw EJPEG("Empty input file");
    TDecompressor d;
    if (!ReadHeader(&d, data, size)) throw EJPEG(d.Err.Message);
    const std::int64_t width = d.Info.image_width, height = d.Info.image_height;
    if (width * height > MaxJpegPixels) throw EJPEG("JPEG image is too large");
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (image.isNull()) throw EJPEG("JPEG image is too large");
    const TTarget target{image.bits(), static_cast<std::size_t>(image.bytesPerLine()),
                         d.Info.image_width, d.Info.image_height};
    if (!ReadPixels(&d, &target)) throw EJPEG(d.Err.Message);
    return image;
}

std::vector<std::uint8_t> EncodeJpeg(const QImage& image, int quality) {
    if (image.isNull()) throw EJPEG("JPEG image is empty");
    QImage rgb;
    if (image.hasAlphaChannel()) {
        rgb = QImage(image.size(), QImage::Format_RGB32);
        if (rgb.isNull()) throw EJPEG("JPEG image is too large");
        rgb.fill(Qt::white);
        QPainter painter(&rgb);
        painter.drawImage(0, 0, image);
    } else {
        rgb = image.convertToFormat(QImage::Format_RGB32);
    }
    if (rgb.isNull()) throw EJPEG("JPEG image is too large");
    std::vector<std::uint8_t> bytes;
    TJpegStreamEncoder encoder(
        rgb.width(), rgb.height(),
        [&bytes](const std::uint8_t* data, std::size_t size) {
            bytes.insert(bytes.end(), data, data + size);
        },
        quality);
    encoder.WriteRows(rgb, rgb.height());
    encoder.Finish();
    return bytes;
}

} // namespace tsb
