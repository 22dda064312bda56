#pragma once
/* fcft's header is C only (array parameters with `static`, no extern "C"),
 * so the C++ side reaches it through these few calls. */
#include <pixman.h>

#ifdef __cplusplus
extern "C" {
#endif

struct glyph_font;

struct glyph_font_metrics {
    int cell_width;  /* the advance of 'W' */
    int cell_height; /* ascent plus descent */
    int ascent;
};

/* A glyph's mask and where it sits against the pen. */
struct glyph_mask {
    pixman_image_t* image; /* NULL for a character the font cannot draw */
    int left;              /* from the pen to the image's left edge */
    int top;               /* from the baseline up to the image's top edge */
    int width;
    int height;
};

/* Once per process, before the first font; quiet unless something fails. */
void glyph_fonts_begin(void);
void glyph_fonts_end(void);

/* DejaVu Sans Mono at `pixels`, else fontconfig's monospace; NULL when
 * neither can be opened. */
struct glyph_font* glyph_font_open(int pixels);
void glyph_font_close(struct glyph_font* font);
struct glyph_font_metrics glyph_font_measure(const struct glyph_font* font);
/* Rasterised once and cached by fcft for the life of the font. */
struct glyph_mask glyph_font_mask(struct glyph_font* font, unsigned char character);

#ifdef __cplusplus
}
#endif
