#include "tools/export/png.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <memory>

namespace tools {

namespace {

template <class T, void (*Free)(T*)>
struct Deleter {
  void operator()(T* p) const { Free(p); }
};
void unrefHandle(RsvgHandle* h) { g_object_unref(h); }
using Handle = std::unique_ptr<RsvgHandle, Deleter<RsvgHandle, unrefHandle>>;
using Surface = std::unique_ptr<cairo_surface_t, Deleter<cairo_surface_t, cairo_surface_destroy>>;
using Context = std::unique_ptr<cairo_t, Deleter<cairo_t, cairo_destroy>>;

cairo_status_t append(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool renderPng(const std::string& svg, double scale, std::string& png, std::string& error) {
  GError* failure = nullptr;
  const Handle handle(rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()),
                                                svg.size(), &failure));
  if (!handle) {
    error = failure ? failure->message : "librsvg cannot read the drawing";
    if (failure) g_error_free(failure);
    return false;
  }
  gdouble width = 0, height = 0;
  if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &width, &height) || width <= 0 ||
      height <= 0) {
    error = "the drawing has no size in pixels";
    return false;
  }
  const int w = int(std::ceil(width * scale)), h = int(std::ceil(height * scale));
  const Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
  const Context cr(cairo_create(surface.get()));
  const RsvgRectangle viewport{0, 0, double(w), double(h)};
  if (!rsvg_handle_render_document(handle.get(), cr.get(), &viewport, &failure)) {
    error = failure ? failure->message : "librsvg cannot draw the picture";
    if (failure) g_error_free(failure);
    return false;
  }
  png.clear();
  if (cairo_surface_write_to_png_stream(surface.get(), append, &png) != CAIRO_STATUS_SUCCESS) {
    error = "cairo cannot encode the picture as PNG";
    return false;
  }
  return true;
}

}  // namespace tools
