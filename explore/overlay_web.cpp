// The page's side of the explorer's words: each piece goes to a function of
// the page (web/site/explore.js) as JSON text, and only when it changed, so
// that a frame that moves nothing costs the page nothing.
#include <emscripten.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "explore/overlay.h"

namespace explore {

namespace {

EM_JS(void, toPage, (const char* what, const char* json), {
  var hook = Module['explorerPage'];
  if (hook) hook(UTF8ToString(what), JSON.parse(UTF8ToString(json)));
});

// The width of `text` in the page's label font, in the page's pixels.
EM_JS(double, pageTextWidth, (const char* text), {
  var measure = Module['explorerMeasure'];
  if (!measure) {
    measure = Module['explorerMeasure'] = document.createElement('canvas').getContext('2d');
    measure.font = '12px sans-serif';
  }
  return measure.measureText(UTF8ToString(text)).width;
});

// The label font's line height in the page's pixels (web/site/style.css).
constexpr double lineHeight = 12;

EM_JS(void, downloadToPage, (const char* name, const char* data, int size), {
  var hook = Module['explorerDownload'];
  if (hook) hook(UTF8ToString(name), HEAPU8.slice(data, data + size));
});

std::string quoted(const std::string& s) {
  std::string out = "\"";
  for (const char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\', out += c;
    } else if ((unsigned char)c < 0x20) {
      char code[8];
      std::snprintf(code, sizeof code, "\\u%04x", unsigned(c));
      out += code;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string listed(const std::vector<std::string>& items) {
  std::string out = "[";
  for (std::size_t k = 0; k < items.size(); ++k) out += (k ? "," : "") + quoted(items[k]);
  return out + "]";
}

std::string number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", v);
  return text;
}

// Hands `json` to the page under `what` unless it is what `last` holds.
void sendIfChanged(const char* what, const std::string& json, std::string& last) {
  if (json == last) return;
  last = json;
  toPage(what, json.c_str());
}

std::string boxed(const Label& l) {
  if (!l.box) return "";
  return ",\"left\":" + number(l.box->x0) + ",\"top\":" + number(l.box->y0);
}

}  // namespace

LabelSize labelSize(const std::string& text, double scale) {
  return {std::ceil(pageTextWidth(text.c_str())) * scale, lineHeight * scale};
}

void showOverlay(const Overlay& o) {
  static std::string lastStatus, lastLabels, lastHelp;
  sendIfChanged("status",
                "{\"lines\":" + listed(o.status) + ",\"clean\":" + (o.clean ? "true" : "false") + "}",
                lastStatus);
  std::string labels = "[";
  for (std::size_t k = 0; k < o.labels.size(); ++k)
    labels += (k ? "," : "") + std::string("{\"text\":") + quoted(o.labels[k].text) +
              ",\"x\":" + number(o.labels[k].x) + ",\"y\":" + number(o.labels[k].y) + boxed(o.labels[k]) +
              "}";
  sendIfChanged("labels", labels + "]", lastLabels);
  sendIfChanged("help", listed(o.help), lastHelp);
}

void showTitle(const std::string& title) {
  static std::string last;
  sendIfChanged("title", quoted(title), last);
}

void showLink(const std::string& link) {
  static std::string last;
  sendIfChanged("link", quoted(link), last);
}

void showProblems(const std::vector<std::string>& problems) {
  toPage("problems", listed(problems).c_str());
}

void saveFile(const std::string& name, const std::string& contents) {
  downloadToPage(name.c_str(), contents.data(), int(contents.size()));
}

void leave() {}

}  // namespace explore
