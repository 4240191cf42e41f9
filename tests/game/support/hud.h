// DrawHudText calls as plain values, for comparing a frame's texts with what the screen shows.
#pragma once

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "frame_log.h"

struct Hud {
  std::string text;
  int size, x, y, red, green, blue;

  bool operator==(const Hud& other) const {
    return std::tie(text, size, x, y, red, green, blue) ==
           std::tie(other.text, other.size, other.x, other.y, other.red, other.green, other.blue);
  }
  friend std::ostream& operator<<(std::ostream& out, const Hud& hud) {
    return out << '"' << hud.text << "\" h" << hud.size << " @(" << hud.x << ", " << hud.y
               << ") rgb(" << hud.red << ", " << hud.green << ", " << hud.blue << ")";
  }
};

// The texts the last frame drew, in order; every italic flag must be 0.
inline std::vector<Hud> DrawnTexts() {
  std::vector<Hud> texts;
  for (const LoggedCall& call : Logged().Named("DrawHudText")) {
    const std::vector<int>& a = call.arguments;
    if (a[6] != 0) texts.push_back({"<italic>", 0, 0, 0, 0, 0, 0});
    texts.push_back({call.text, a[0], a[1], a[2], a[3], a[4], a[5]});
  }
  return texts;
}

// A text and its shadow, as the screens draw them: shadow first.
inline std::vector<Hud> Shadowed(const std::string& text, int size, int shadowX, int shadowY, int x,
                                 int y, int red, int green, int blue, int shadowGrey = 120) {
  return {{text, size, shadowX, shadowY, shadowGrey, shadowGrey, shadowGrey},
          {text, size, x, y, red, green, blue}};
}

inline std::vector<Hud> operator+(std::vector<Hud> a, const std::vector<Hud>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
