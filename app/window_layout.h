#pragma once

namespace ornet5 {

// The windows are laid out in screen pixels for 96 pixels per inch and are
// not scaled: the figures of each window's design are the toolkits' own.

// A control's place relative to its parent's client area.
struct TLayoutRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr int Right() const { return left + width; }
    constexpr int Bottom() const { return top + height; }
    // The same rectangle in the coordinates of the parent's parent, for a
    // toolkit whose controls inside a group frame are the window's own.
    constexpr TLayoutRect In(const TLayoutRect& parent) const {
        return {parent.left + left, parent.top + top, width, height};
    }
};

struct TLayoutSize {
    int width = 0;
    int height = 0;
};

struct TLayoutPoint {
    int x = 0;
    int y = 0;
};

// A font of the design by its Windows face name and character height in
// pixels (without the internal leading). A toolkit that lacks the face
// takes a stand-in of about the same widths.
struct TDesignFont {
    const char* face = "MS Sans Serif";
    int pixelHeight = 11;
    bool bold = false;
};

// Every window's default font.
inline constexpr TDesignFont kDefaultDesignFont{"MS Sans Serif", 11, false};

// The outer top-left corner that centres a window of outer size box over a
// window whose outer rectangle is owner: halves truncated toward zero, a
// negative coordinate replaced by 0.
constexpr TLayoutPoint CentredOver(const TLayoutRect& owner, const TLayoutSize& box) {
    const int left = owner.left + (owner.width - box.width) / 2;
    const int top = owner.top + (owner.height - box.height) / 2;
    return {left < 0 ? 0 : left, top < 0 ? 0 : top};
}

}  // namespace ornet5
