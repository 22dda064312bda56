#include "host/x11/painter.h"

#include <algorithm>

namespace gm {

namespace {

XftFont* open_font(Display* display, int screen, int pixels)
{
    // Fontconfig takes the families in order, so a system without DejaVu
    // gets its own monospace font.
    return XftFontOpen(display, screen, XFT_FAMILY, XftTypeString, "DejaVu Sans Mono", XFT_FAMILY, XftTypeString,
                       "monospace", XFT_PIXEL_SIZE, XftTypeDouble, static_cast<double>(pixels), XFT_ANTIALIAS,
                       XftTypeBool, True, nullptr);
}

const XftColor& colour_for(X11Painter& painter, Colour colour)
{
    for (const auto& [known, xft] : painter.colours)
        if (known == colour) return xft;
    // 0x00BBGGRR, widened to Render's sixteen bits a channel.
    const XRenderColor wanted = {static_cast<unsigned short>(red_of(colour) * 257),
                                 static_cast<unsigned short>(green_of(colour) * 257),
                                 static_cast<unsigned short>(blue_of(colour) * 257), 0xFFFF};
    XftColor xft{};
    XftColorAllocValue(painter.display, painter.visual, painter.colormap, &wanted, &xft);
    painter.colours.emplace_back(colour, xft);
    return painter.colours.back().second;
}

// The pixmap as a paint plan's backend: a cleared span is the clip of the
// runs drawn over it.
struct PixmapBackend {
    X11Painter& painter;

    void clear(const PaintSpan& span)
    {
        const int x = span.first * painter.cell_width;
        const int y = span.row * painter.cell_height;
        const int width = (span.end - span.first) * painter.cell_width;
        XRectangle clip = {static_cast<short>(x), static_cast<short>(y), static_cast<unsigned short>(width),
                           static_cast<unsigned short>(painter.cell_height)};
        XftDrawSetClipRectangles(painter.draw, 0, 0, &clip, 1);
        XftDrawRect(painter.draw, &colour_for(painter, colours::black), x, y, static_cast<unsigned>(width),
                    static_cast<unsigned>(painter.cell_height));
    }

    void draw(const PaintSpan& span, const ColourRun& run)
    {
        XftDrawString8(painter.draw, &colour_for(painter, run.colour), painter.font, run.column * painter.cell_width,
                       span.row * painter.cell_height + painter.font->ascent,
                       reinterpret_cast<const FcChar8*>(run.text.data()), static_cast<int>(run.text.size()));
    }
};

} // namespace

bool open_painter(X11Painter& painter, Display* display, Window window, const XWindowAttributes& attributes,
                  int font_pixels)
{
    painter.display = display;
    painter.window = window;
    painter.visual = attributes.visual;
    painter.colormap = attributes.colormap;
    painter.width = std::max(attributes.width, 1);
    painter.height = std::max(attributes.height, 1);

    const int screen = XScreenNumberOfScreen(attributes.screen);
    painter.font = open_font(display, screen, font_pixels);
    if (!painter.font) return false;
    XGlyphInfo extents{};
    XftTextExtents8(display, painter.font, reinterpret_cast<const FcChar8*>("W"), 1, &extents);
    painter.cell_width = std::max<std::int32_t>(extents.xOff, 1);
    painter.cell_height = std::max(painter.font->ascent + painter.font->descent, 1);

    painter.pixmap = XCreatePixmap(display, window, static_cast<unsigned>(painter.width),
                                   static_cast<unsigned>(painter.height), static_cast<unsigned>(attributes.depth));
    XGCValues values{};
    values.graphics_exposures = False; // no NoExpose event after every copy
    values.foreground = BlackPixelOfScreen(attributes.screen);
    painter.gc = XCreateGC(display, painter.pixmap, GCGraphicsExposures | GCForeground, &values);
    XFillRectangle(display, painter.pixmap, painter.gc, 0, 0, static_cast<unsigned>(painter.width),
                   static_cast<unsigned>(painter.height));
    painter.draw = XftDrawCreate(display, painter.pixmap, painter.visual, painter.colormap);
    painter.drawn = CellGrid();
    painter.whole_window = true;
    return true;
}

void close_painter(X11Painter& painter)
{
    if (!painter.display) return;
    for (auto& [colour, xft] : painter.colours) XftColorFree(painter.display, painter.visual, painter.colormap, &xft);
    painter.colours.clear();
    if (painter.draw) XftDrawDestroy(painter.draw);
    if (painter.gc) XFreeGC(painter.display, painter.gc);
    if (painter.pixmap != None) XFreePixmap(painter.display, painter.pixmap);
    if (painter.font) XftFontClose(painter.display, painter.font);
    painter.draw = nullptr;
    painter.gc = nullptr;
    painter.pixmap = None;
    painter.font = nullptr;
    painter.display = nullptr;
}

void paint_changes(X11Painter& painter, const CellGrid& grid)
{
    painter.plan.make(painter.drawn, grid);
    PixmapBackend backend{painter};
    paint(painter.plan, backend);
    XftDrawSetClip(painter.draw, nullptr);
    const CellRect changed = painter.plan.bounds();
    painter.drawn = grid;

    if (painter.whole_window) {
        show_area(painter, 0, 0, painter.width, painter.height);
        painter.whole_window = false;
    } else if (!changed.empty()) {
        show_area(painter, changed.left * painter.cell_width, changed.top * painter.cell_height,
                  (changed.right - changed.left) * painter.cell_width,
                  (changed.bottom - changed.top) * painter.cell_height);
    }
}

void show_area(X11Painter& painter, int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0) return;
    XCopyArea(painter.display, painter.pixmap, painter.window, painter.gc, x, y, static_cast<unsigned>(width),
              static_cast<unsigned>(height), x, y);
}

} // namespace gm
