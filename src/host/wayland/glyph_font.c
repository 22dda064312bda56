#include "glyph_font.h"

#include <fcft/fcft.h>
#include <stdio.h>
#include <stdlib.h>

struct glyph_font {
    struct fcft_font* font;
    struct glyph_font_metrics metrics;
};

void glyph_fonts_begin(void) { fcft_init(FCFT_LOG_COLORIZE_NEVER, false, FCFT_LOG_CLASS_ERROR); }

void glyph_fonts_end(void) { fcft_fini(); }

struct glyph_font* glyph_font_open(int pixels)
{
    /* The second name is fontconfig's fallback when the first is not there. */
    const char* names[] = {"DejaVu Sans Mono", "monospace"};
    char attributes[32];
    snprintf(attributes, sizeof attributes, "pixelsize=%d", pixels);
    struct fcft_font* font = fcft_from_name(2, names, attributes);
    if (!font) return NULL;
    struct glyph_font* result = calloc(1, sizeof *result);
    if (!result) {
        fcft_destroy(font);
        return NULL;
    }
    result->font = font;
    const struct fcft_glyph* w = fcft_rasterize_char_utf32(font, 'W', FCFT_SUBPIXEL_NONE);
    const int advance = w && w->advance.x > 0 ? w->advance.x : font->max_advance.x;
    result->metrics.cell_width = advance > 1 ? advance : 1;
    const int height = font->ascent + font->descent;
    result->metrics.cell_height = height > 1 ? height : 1;
    result->metrics.ascent = font->ascent;
    return result;
}

void glyph_font_close(struct glyph_font* font)
{
    if (!font) return;
    fcft_destroy(font->font);
    free(font);
}

struct glyph_font_metrics glyph_font_measure(const struct glyph_font* font) { return font->metrics; }

struct glyph_mask glyph_font_mask(struct glyph_font* font, unsigned char character)
{
    struct glyph_mask mask = {0};
    const struct fcft_glyph* glyph = fcft_rasterize_char_utf32(font->font, character, FCFT_SUBPIXEL_NONE);
    if (!glyph || !glyph->pix) return mask;
    mask.image = glyph->pix;
    mask.left = glyph->x;
    mask.top = glyph->y;
    mask.width = glyph->width;
    mask.height = glyph->height;
    return mask;
}
