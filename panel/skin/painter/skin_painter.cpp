// Draws every image of the control panel's skin with cairo and packs them, with skin.xml,
// into the resource archive.
//
// Usage: skin_painter <skin.xml> <archive to write> [folder to also write the PNGs into]
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "zip_writer.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Rgb {
  double r, g, b;
};

constexpr Rgb kAccent{0.23, 0.48, 0.84};
constexpr Rgb kAccentLight{0.0, 0.78, 0.98};
constexpr Rgb kStop{0.90, 0.28, 0.30};
constexpr Rgb kIcon{0.80, 0.85, 0.93};

using Painter = std::function<void(cairo_t*, int, int)>;

void SetRgb(cairo_t* cr, Rgb c, double alpha = 1.0) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
  cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
  cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
}

void Card(cairo_t* cr, double x, double y, double w, double h) {
  RoundedRect(cr, x, y, w, h, 10);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.035);
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.07);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

// The window background for one layout: header band, the receivers card, the display card
// when the side list is open and the settings card when the settings band is open.
Painter Background(bool settings, bool side_list) {
  return [=](cairo_t* cr, int w, int h) {
    RoundedRect(cr, 0, 0, w, h, 14);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgb(fill, 0, 0.102, 0.118, 0.157);
    cairo_pattern_add_color_stop_rgb(fill, 1, 0.055, 0.063, 0.086);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
    // A soft glow behind the play button.
    int mainpos = side_list ? 260 : 280;
    int side = side_list ? 120 : 0;
    int settings_h = settings ? 80 : 0;
    double cx = mainpos + (w - mainpos - side) / 2.0;
    double cy = 48 + (h - 48 - settings_h - (settings ? 20 : 40)) / 2.0;
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 10, cx, cy, 230);
    cairo_pattern_add_color_stop_rgba(glow, 0, kAccent.r, kAccent.g, kAccent.b, 0.22);
    cairo_pattern_add_color_stop_rgba(glow, 1, kAccent.r, kAccent.g, kAccent.b, 0);
    cairo_set_source(cr, glow);
    cairo_rectangle(cr, mainpos, 48, w - mainpos - side, h - 48 - settings_h);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    // Header.
    cairo_save(cr);
    RoundedRect(cr, 0, 0, w, h, 14);
    cairo_clip(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.04);
    cairo_rectangle(cr, 0, 0, w, 48);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.08);
    cairo_rectangle(cr, 0, 47, w, 1);
    cairo_fill(cr);
    // Brand mark beside the title.
    cairo_pattern_t* mark = cairo_pattern_create_linear(0, 14, 0, 34);
    cairo_pattern_add_color_stop_rgb(mark, 0, kAccentLight.r, kAccentLight.g, kAccentLight.b);
    cairo_pattern_add_color_stop_rgb(mark, 1, kAccent.r, kAccent.g, kAccent.b);
    cairo_set_source(cr, mark);
    RoundedRect(cr, 8, 17, 4, 14, 2);
    cairo_fill(cr);
    cairo_pattern_destroy(mark);
    Card(cr, 12, 58, mainpos - 20, h - 58 - settings_h - 12);
    if (side_list) Card(cr, w - side, 58, side - 12, h - 58 - settings_h - 12);
    if (settings) Card(cr, 12, h - settings_h, w - 24, settings_h - 12);
    RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 14);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.10);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  };
}

void Disc(cairo_t* cr, int size, Rgb top, Rgb bottom) {
  double c = size / 2.0;
  cairo_arc(cr, c, c, c - 6, 0, 2 * kPi);
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, 6, 0, size - 6);
  cairo_pattern_add_color_stop_rgb(fill, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(fill, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, fill);
  cairo_fill(cr);
  cairo_pattern_destroy(fill);
  cairo_arc(cr, c, c, c - 2, 0, 2 * kPi);
  cairo_set_source_rgba(cr, top.r, top.g, top.b, 0.25);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
}

void PlayImage(cairo_t* cr, int w, int) {
  Disc(cr, w, kAccentLight, kAccent);
  double c = w / 2.0;
  cairo_move_to(cr, c - 14, c - 24);
  cairo_line_to(cr, c + 26, c);
  cairo_line_to(cr, c - 14, c + 24);
  cairo_close_path(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
}

void StopImage(cairo_t* cr, int w, int) {
  Disc(cr, w, Rgb{1.0, 0.45, 0.42}, kStop);
  double c = w / 2.0;
  RoundedRect(cr, c - 20, c - 20, 40, 40, 5);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
}

// Searching: a dim ring with a bright arc that turns 40 degrees a frame.
Painter SearchFrame(int frame) {
  return [=](cairo_t* cr, int w, int) {
    double c = w / 2.0;
    cairo_arc(cr, c, c, c - 6, 0, 2 * kPi);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.05);
    cairo_fill(cr);
    cairo_set_line_width(cr, 8);
    cairo_arc(cr, c, c, c - 14, 0, 2 * kPi);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.08);
    cairo_stroke(cr);
    double start = frame * 2 * kPi / 9 - kPi / 2;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_arc(cr, c, c, c - 14, start, start + 1.6);
    SetRgb(cr, kAccentLight, 0.9);
    cairo_stroke(cr);
    for (int i = 0; i < 3; ++i) {
      cairo_arc(cr, c - 14 + 14 * i, c, 4, 0, 2 * kPi);
      cairo_set_source_rgba(cr, 1, 1, 1, (i == frame % 3) ? 0.9 : 0.35);
      cairo_fill(cr);
    }
  };
}

enum class Glyph { kGear, kList, kMinimise, kMaximise, kRestore, kClose };
enum class State { kNormal, kHot, kPushed };

Painter CaptionButton(Glyph glyph, State state) {
  return [=](cairo_t* cr, int w, int h) {
    if (state != State::kNormal) {
      RoundedRect(cr, 0, 0, w, h, 6);
      if (glyph == Glyph::kClose) {
        SetRgb(cr, kStop, state == State::kHot ? 0.85 : 1.0);
      } else {
        cairo_set_source_rgba(cr, 1, 1, 1, state == State::kHot ? 0.10 : 0.18);
      }
      cairo_fill(cr);
    }
    SetRgb(cr, state == State::kNormal ? kIcon : Rgb{1, 1, 1});
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    double c = w / 2.0;
    switch (glyph) {
      case Glyph::kGear:
        for (int i = 0; i < 8; ++i) {
          double a = i * kPi / 4;
          cairo_move_to(cr, c + 5 * std::cos(a), c + 5 * std::sin(a));
          cairo_line_to(cr, c + 8 * std::cos(a), c + 8 * std::sin(a));
        }
        cairo_stroke(cr);
        cairo_arc(cr, c, c, 5, 0, 2 * kPi);
        cairo_stroke(cr);
        cairo_arc(cr, c, c, 2, 0, 2 * kPi);
        cairo_fill(cr);
        break;
      case Glyph::kList:
        for (int i = -1; i <= 1; ++i) {
          cairo_move_to(cr, c - 7, c + 5 * i);
          cairo_line_to(cr, c + 7, c + 5 * i);
        }
        cairo_stroke(cr);
        break;
      case Glyph::kMinimise:
        cairo_move_to(cr, c - 6, c + 4);
        cairo_line_to(cr, c + 6, c + 4);
        cairo_stroke(cr);
        break;
      case Glyph::kMaximise:
        RoundedRect(cr, c - 6, c - 6, 12, 12, 2);
        cairo_stroke(cr);
        break;
      case Glyph::kRestore:
        RoundedRect(cr, c - 6, c - 3, 9, 9, 2);
        cairo_stroke(cr);
        cairo_move_to(cr, c - 3, c - 6);
        cairo_line_to(cr, c + 6, c - 6);
        cairo_line_to(cr, c + 6, c + 3);
        cairo_stroke(cr);
        break;
      case Glyph::kClose:
        cairo_move_to(cr, c - 5, c - 5);
        cairo_line_to(cr, c + 5, c + 5);
        cairo_move_to(cr, c + 5, c - 5);
        cairo_line_to(cr, c - 5, c + 5);
        cairo_stroke(cr);
        break;
    }
  };
}

Painter Switch(bool on) {
  return [=](cairo_t* cr, int w, int h) {
    RoundedRect(cr, 1, 1, w - 2, h - 2, (h - 2) / 2.0);
    if (on) {
      SetRgb(cr, kAccent);
    } else {
      cairo_set_source_rgba(cr, 1, 1, 1, 0.15);
    }
    cairo_fill(cr);
    double knob = on ? w - h / 2.0 : h / 2.0;
    cairo_arc(cr, knob, h / 2.0, h / 2.0 - 3, 0, 2 * kPi);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
  };
}

Painter Track(bool fore) {
  return [=](cairo_t* cr, int w, int h) {
    RoundedRect(cr, 0, h / 2.0 - 3, w, 6, 3);
    if (fore) {
      cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, w, 0);
      cairo_pattern_add_color_stop_rgb(fill, 0, kAccent.r, kAccent.g, kAccent.b);
      cairo_pattern_add_color_stop_rgb(fill, 1, kAccentLight.r, kAccentLight.g, kAccentLight.b);
      cairo_set_source(cr, fill);
      cairo_fill(cr);
      cairo_pattern_destroy(fill);
    } else {
      cairo_set_source_rgba(cr, 1, 1, 1, 0.15);
      cairo_fill(cr);
    }
  };
}

void Thumb(cairo_t* cr, int w, int h) {
  cairo_arc(cr, w / 2.0, h / 2.0, w / 2.0 - 1, 0, 2 * kPi);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill_preserve(cr);
  SetRgb(cr, kAccent);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
}

void ItemBackground(cairo_t* cr, int w, int h) {
  cairo_set_source_rgba(cr, 1, 1, 1, 0.04);
  cairo_rectangle(cr, 0, 0, w, h);
  cairo_fill(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.08);
  cairo_rectangle(cr, 0, h - 1, w, 1);
  cairo_fill(cr);
}

void WebLink(cairo_t* cr, int w, int h) {
  SetRgb(cr, kAccentLight);
  cairo_set_line_width(cr, 1.2);
  double c = w / 2.0;
  cairo_arc(cr, c, h / 2.0, c - 1, 0, 2 * kPi);
  cairo_stroke(cr);
  cairo_save(cr);
  cairo_translate(cr, c, h / 2.0);
  cairo_scale(cr, 0.45, 1);
  cairo_arc(cr, 0, 0, c - 1, 0, 2 * kPi);
  cairo_restore(cr);
  cairo_stroke(cr);
  cairo_move_to(cr, 1, h / 2.0);
  cairo_line_to(cr, w - 1, h / 2.0);
  cairo_stroke(cr);
}

std::vector<uint8_t> Render(int w, int h, const Painter& paint) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(surface);
  paint(cr, w, h);
  cairo_destroy(cr);
  std::vector<uint8_t> png;
  cairo_surface_write_to_png_stream(
      surface,
      [](void* closure, const unsigned char* data, unsigned int length) {
        auto* out = static_cast<std::vector<uint8_t>*>(closure);
        out->insert(out->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &png);
  cairo_surface_destroy(surface);
  return png;
}

std::vector<uint8_t> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <skin.xml> <archive> [png folder]\n", argv[0]);
    return 2;
  }
  std::vector<uint8_t> xml = ReadFile(argv[1]);
  if (xml.empty()) {
    std::fprintf(stderr, "skin_painter: cannot read %s\n", argv[1]);
    return 1;
  }
  struct Image {
    std::string name;
    int w, h;
    Painter paint;
  };
  std::vector<Image> images = {
      {"bkimg01.png", 800, 572, Background(false, false)},
      {"bkimg02.png", 800, 632, Background(true, false)},
      {"bkimg03.png", 900, 572, Background(false, true)},
      {"bkimg04.png", 900, 632, Background(true, true)},
      {"Play.png", 128, 128, PlayImage},
      {"Stop.png", 128, 128, StopImage},
      {"itembkimg.png", 240, 20, ItemBackground},
      {"WebLink.png", 14, 14, WebLink},
      {"check_off.png", 36, 20, Switch(false)},
      {"check_on.png", 36, 20, Switch(true)},
      {"slider_bk.png", 180, 20, Track(false)},
      {"slider_fore.png", 180, 20, Track(true)},
      {"slider_thumb.png", 16, 16, Thumb},
  };
  for (int f = 0; f < 9; ++f) {
    images.push_back({"tu" + std::to_string(f) + ".png", 128, 128, SearchFrame(f)});
  }
  const std::pair<const char*, Glyph> buttons[] = {
      {"setbtn", Glyph::kGear},     {"playlistshowbtn", Glyph::kList}, {"minbtn", Glyph::kMinimise},
      {"maxbtn", Glyph::kMaximise}, {"restorebtn", Glyph::kRestore},   {"closebtn", Glyph::kClose}};
  const std::pair<const char*, State> states[] = {
      {"normal", State::kNormal}, {"hot", State::kHot}, {"pushed", State::kPushed}};
  for (const auto& [name, glyph] : buttons) {
    for (const auto& [suffix, state] : states) {
      images.push_back(
          {std::string(name) + "_" + suffix + ".png", 28, 28, CaptionButton(glyph, state)});
    }
  }
  skin::ZipWriter zip;
  zip.Add("skin.xml", xml);
  for (const Image& image : images) {
    std::vector<uint8_t> png = Render(image.w, image.h, image.paint);
    zip.Add(image.name, png);
    if (argc > 3 && !WriteFile(std::string(argv[3]) + "/" + image.name, png)) {
      std::fprintf(stderr, "skin_painter: cannot write %s\n", image.name.c_str());
      return 1;
    }
  }
  if (!WriteFile(argv[2], zip.Finish())) {
    std::fprintf(stderr, "skin_painter: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
