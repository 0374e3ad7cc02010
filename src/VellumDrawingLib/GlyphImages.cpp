#include "VellumDrawingLib/GlyphImages.h"

#include <Fonts.h>

// Built on first use: the sizes live in other translation units, so a table
// filled during static initialisation could read them before they are set.
const std::array<GlyphImage, glyphImageCount>& glyphImages()
{
    static const std::array<GlyphImage, glyphImageCount> table = {{
        {Drawer::GlyphA, Fonts::fonta_png, Fonts::fonta_png_size},
        {Drawer::GlyphB, Fonts::fontb_png, Fonts::fontb_png_size},
        {Drawer::GlyphC, Fonts::fontc_png, Fonts::fontc_png_size},
        {Drawer::GlyphD, Fonts::fontd_png, Fonts::fontd_png_size},
        {Drawer::GlyphE, Fonts::fonte_png, Fonts::fonte_png_size},
        {Drawer::GlyphF, Fonts::fontf_png, Fonts::fontf_png_size},
        {Drawer::GlyphG, Fonts::fontg_png, Fonts::fontg_png_size},
        {Drawer::GlyphH, Fonts::fonth_png, Fonts::fonth_png_size},
        {Drawer::GlyphI, Fonts::fonti_png, Fonts::fonti_png_size},
        {Drawer::GlyphJ, Fonts::fontj_png, Fonts::fontj_png_size},
        {Drawer::GlyphK, Fonts::fontk_png, Fonts::fontk_png_size},
        {Drawer::GlyphL, Fonts::fontl_png, Fonts::fontl_png_size},
        {Drawer::GlyphM, Fonts::fontm_png, Fonts::fontm_png_size},
        {Drawer::GlyphN, Fonts::fontn_png, Fonts::fontn_png_size},
        {Drawer::GlyphO, Fonts::fonto_png, Fonts::fonto_png_size},
        {Drawer::GlyphP, Fonts::fontp_png, Fonts::fontp_png_size},
        {Drawer::GlyphQ, Fonts::fontq_png, Fonts::fontq_png_size},
        {Drawer::GlyphR, Fonts::fontr_png, Fonts::fontr_png_size},
        {Drawer::GlyphS, Fonts::fonts_png, Fonts::fonts_png_size},
        {Drawer::GlyphT, Fonts::fontt_png, Fonts::fontt_png_size},
        {Drawer::GlyphU, Fonts::fontu_png, Fonts::fontu_png_size},
        {Drawer::GlyphV, Fonts::fontv_png, Fonts::fontv_png_size},
        {Drawer::GlyphW, Fonts::fontw_png, Fonts::fontw_png_size},
        {Drawer::GlyphX, Fonts::fontx_png, Fonts::fontx_png_size},
        {Drawer::GlyphY, Fonts::fonty_png, Fonts::fonty_png_size},
        {Drawer::GlyphZ, Fonts::fontz_png, Fonts::fontz_png_size},
        {Drawer::Glyph0, Fonts::font0_png, Fonts::font0_png_size},
        {Drawer::Glyph1, Fonts::font1_png, Fonts::font1_png_size},
        {Drawer::Glyph2, Fonts::font2_png, Fonts::font2_png_size},
        {Drawer::Glyph3, Fonts::font3_png, Fonts::font3_png_size},
        {Drawer::Glyph4, Fonts::font4_png, Fonts::font4_png_size},
        {Drawer::Glyph5, Fonts::font5_png, Fonts::font5_png_size},
        {Drawer::Glyph6, Fonts::font6_png, Fonts::font6_png_size},
        {Drawer::Glyph7, Fonts::font7_png, Fonts::font7_png_size},
        {Drawer::Glyph8, Fonts::font8_png, Fonts::font8_png_size},
        {Drawer::Glyph9, Fonts::font9_png, Fonts::font9_png_size},
        {Drawer::GlyphPeriod, Fonts::fontperiod_png, Fonts::fontperiod_png_size},
        {Drawer::GlyphComma, Fonts::fontcomma_png, Fonts::fontcomma_png_size},
        {Drawer::GlyphPlus, Fonts::fontplus_png, Fonts::fontplus_png_size},
        {Drawer::GlyphMinus, Fonts::fontminus_png, Fonts::fontminus_png_size},
        {Drawer::GlyphExclaim, Fonts::fontexclaim_png, Fonts::fontexclaim_png_size},
        {Drawer::GlyphQuestion, Fonts::fontquestion_png, Fonts::fontquestion_png_size},
    }};
    return table;
}
