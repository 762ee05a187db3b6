#include "turbo.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <turbojpeg.h>

namespace ovjpeg::testing {

std::optional<RgbImage> DecodeWithTurbo(const std::vector<std::uint8_t>& jpeg) {
  tjhandle handle = tjInitDecompress();
  int width = 0, height = 0, subsampling = 0, colorspace = 0;
  unsigned char* data = const_cast<unsigned char*>(jpeg.data());
  const unsigned long size = static_cast<unsigned long>(jpeg.size());
  std::optional<RgbImage> result;
  if (tjDecompressHeader3(handle, data, size, &width, &height, &subsampling, &colorspace) == 0) {
    RgbImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * height * 3);
    if (tjDecompress2(handle, data, size, image.pixels.data(), width, 0, height, TJPF_RGB, 0) ==
        0) {
      result = std::move(image);
    }
  }
  tjDestroy(handle);
  return result;
}

std::vector<std::uint8_t> EncodeWithTurbo(const RgbImage& image, int quality) {
  tjhandle handle = tjInitCompress();
  unsigned char* out = nullptr;
  unsigned long size = 0;
  std::vector<std::uint8_t> result;
  if (tjCompress2(handle, image.pixels.data(), image.width, 0, image.height, TJPF_RGB, &out, &size,
                  TJSAMP_420, quality, TJFLAG_ACCURATEDCT) == 0) {
    result.assign(out, out + size);
  }
  tjFree(out);
  tjDestroy(handle);
  return result;
}

TurboCompressor::TurboCompressor(int width, int height)
    : handle_(tjInitCompress()), buffer_(nullptr), capacity_(tjBufSize(width, height, TJSAMP_420)) {
  buffer_ = tjAlloc(static_cast<int>(capacity_));
}

TurboCompressor::~TurboCompressor() {
  tjFree(buffer_);
  tjDestroy(handle_);
}

std::size_t TurboCompressor::Compress(const RgbImage& image, int quality) {
  size_ = capacity_;
  if (tjCompress2(handle_, image.pixels.data(), image.width, 0, image.height, TJPF_RGB, &buffer_,
                  &size_, TJSAMP_420, quality, TJFLAG_ACCURATEDCT | TJFLAG_NOREALLOC) != 0) {
    size_ = 0;
  }
  return size_;
}

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void OnError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void OnMessage(j_common_ptr, int) {}

}  // namespace

std::optional<DecodedCoefficients> ReadCoefficients(const std::vector<std::uint8_t>& jpeg) {
  jpeg_decompress_struct cinfo{};
  ErrorManager error{};
  cinfo.err = jpeg_std_error(&error.base);
  error.base.error_exit = OnError;
  error.base.emit_message = OnMessage;
  DecodedCoefficients result;
  if (setjmp(error.jump) != 0) {
    jpeg_destroy_decompress(&cinfo);
    return std::nullopt;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&cinfo, TRUE);
  jvirt_barray_ptr* arrays = jpeg_read_coefficients(&cinfo);
  result.width = static_cast<int>(cinfo.image_width);
  result.height = static_cast<int>(cinfo.image_height);
  for (int c = 0; c < 3 && c < cinfo.num_components; ++c) {
    jpeg_component_info* comp = &cinfo.comp_info[c];
    const int columns = static_cast<int>(comp->width_in_blocks);
    const int rows = static_cast<int>(comp->height_in_blocks);
    result.blocks_per_row[c] = columns;
    result.block_rows[c] = rows;
    for (int i = 0; i < 64; ++i) result.quant_tables[c][i] = comp->quant_table->quantval[i];
    result.planes[c].resize(static_cast<std::size_t>(columns) * rows * 64);
    for (int row = 0; row < rows; ++row) {
      JBLOCKARRAY blocks = cinfo.mem->access_virt_barray(reinterpret_cast<j_common_ptr>(&cinfo),
                                                         arrays[c], row, 1, FALSE);
      for (int col = 0; col < columns; ++col) {
        for (int i = 0; i < 64; ++i) {
          result.planes[c][(static_cast<std::size_t>(row) * columns + col) * 64 + i] =
              blocks[0][col][i];
        }
      }
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return result;
}

}  // namespace ovjpeg::testing
