# The game's images, made by tools/imagegen (build/BrickVoyagerImageGen src/images)
# and compiled in as Images::<name>_png with Images::<name>_png_size. The game
# loads them in this order.
bv_embed(TARGET BrickVoyagerGame NAMESPACE Images HEADER Images.h FILES
  ${CMAKE_CURRENT_LIST_DIR}/focalfade1.png
  ${CMAKE_CURRENT_LIST_DIR}/focalfade3.png
  ${CMAKE_CURRENT_LIST_DIR}/rect1a.png
  ${CMAKE_CURRENT_LIST_DIR}/rect1b.png
  ${CMAKE_CURRENT_LIST_DIR}/rect2a.png
  ${CMAKE_CURRENT_LIST_DIR}/rect2b.png
  ${CMAKE_CURRENT_LIST_DIR}/rect3a.png
  ${CMAKE_CURRENT_LIST_DIR}/rect3b.png
  ${CMAKE_CURRENT_LIST_DIR}/rect4a.png
  ${CMAKE_CURRENT_LIST_DIR}/rect4b.png
  ${CMAKE_CURRENT_LIST_DIR}/door.png
  ${CMAKE_CURRENT_LIST_DIR}/brickvoyager.png
  ${CMAKE_CURRENT_LIST_DIR}/stepinside.png
  ${CMAKE_CURRENT_LIST_DIR}/guystand1.png
  ${CMAKE_CURRENT_LIST_DIR}/guystand2.png
  ${CMAKE_CURRENT_LIST_DIR}/guywalk1.png
  ${CMAKE_CURRENT_LIST_DIR}/guywalk2.png
  ${CMAKE_CURRENT_LIST_DIR}/guywalk3.png)
