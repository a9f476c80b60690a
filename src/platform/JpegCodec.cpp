#include "platform/JpegCodec.h"

#include <QPainter>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
    unsigned char* Buffer = nullptr; // malloc'ed by libjpeg's memory destination
    unsigned long Size = 0;

    TCompressor() {
        InitErrorManager(Err);
        Info.err = &Err.Pub;
    }
    ~TCompressor() {
        jpeg_destroy_compress(&Info);
        std::free(Buffer);
    }
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

bool Compress(TCompressor* c, const std::uint8_t* rgb, int width, int height,
              std::size_t bytesPerLine, int quality) {
    if (setjmp(c->Err.Jump)) return false;
    jpeg_compress_struct* info = &c->Info;
    jpeg_create_compress(info);
    jpeg_mem_dest(info, &c->Buffer, &c->Size);
    info->image_width = static_cast<JDIMENSION>(width);
    info->image_height = static_cast<JDIMENSION>(height);
    info->input_components = 3;
    info->in_color_space = JCS_RGB;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality, TRUE);
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(rgb + info->next_scanline * bytesPerLine);
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

} // namespace

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
        QImage flat(image.size(), QImage::Format_RGB32);
        if (flat.isNull()) throw EJPEG("JPEG image is too large");
        flat.fill(Qt::white);
        {
            QPainter painter(&flat);
            painter.drawImage(0, 0, image);
        }
        rgb = flat.convertToFormat(QImage::Format_RGB888);
    } else {
        rgb = image.convertToFormat(QImage::Format_RGB888);
    }
    if (rgb.isNull()) throw EJPEG("JPEG image is too large");
    TCompressor c;
    if (!Compress(&c, rgb.constBits(), rgb.width(), rgb.height(),
                  static_cast<std::size_t>(rgb.bytesPerLine()), std::clamp(quality, 1, 100)))
        throw EJPEG(c.Err.Message);
    return std::vector<std::uint8_t>(c.Buffer, c.Buffer + c.Size);
}

} // namespace tsb
