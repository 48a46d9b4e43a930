#include "demo/picture.h"

#include <cairo-svg.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

namespace ostrel::demo {
namespace {

bool finish(cairo_surface_t* surface, cairo_t* cr, const std::string& path, std::string& error) {
  const cairo_status_t drawn = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_finish(surface);  // an SVG surface writes its file here
  const cairo_status_t written = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  releaseFontCaches();
  const cairo_status_t status = drawn != CAIRO_STATUS_SUCCESS ? drawn : written;
  if (status == CAIRO_STATUS_SUCCESS) return true;
  error = "cannot write " + path + ": " + cairo_status_to_string(status);
  return false;
}

}  // namespace

void releaseFontCaches() {
  cairo_debug_reset_static_data();
  FcFini();
}

bool writePng(const ChartData& data, const std::string& path, std::string& error) {
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kChartWidth, kChartHeight);
  cairo_t* cr = cairo_create(surface);
  drawChart(cr, data);
  cairo_surface_flush(surface);
  const cairo_status_t png = cairo_surface_write_to_png(surface, path.c_str());
  if (png != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    releaseFontCaches();
    error = "cannot write " + path + ": " + cairo_status_to_string(png);
    return false;
  }
  return finish(surface, cr, path, error);
}

bool writeSvg(const ChartData& data, const std::string& path, std::string& error) {
  cairo_surface_t* surface = cairo_svg_surface_create(path.c_str(), kChartWidth, kChartHeight);
  cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);  // the PNG's size, not pt
  cairo_t* cr = cairo_create(surface);
  drawChart(cr, data);
  return finish(surface, cr, path, error);
}

}  // namespace ostrel::demo
