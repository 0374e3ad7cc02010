# The bitmap font's glyphs and the soft line image, compiled into the drawing
# library. They are drawn by tools/glyphs (build/BrickVoyagerGlyphs src/VellumDrawingLib).
set(BV_GLYPH_NAMES a b c d e f g h i j k l m n o p q r s t u v w x y z
  0 1 2 3 4 5 6 7 8 9 period comma plus minus exclaim question)
set(BV_GLYPH_FILES)
foreach(name IN LISTS BV_GLYPH_NAMES)
  list(APPEND BV_GLYPH_FILES ${CMAKE_CURRENT_LIST_DIR}/fonts/font${name}.png)
endforeach()
bv_embed(TARGET VellumDrawingLib NAMESPACE Fonts HEADER Fonts.h FILES ${BV_GLYPH_FILES})
bv_embed(TARGET VellumDrawingLib NAMESPACE LineImage HEADER LineImage.h
  FILES ${CMAKE_CURRENT_LIST_DIR}/line.png)
