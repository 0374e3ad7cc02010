# Every screen of the shipped levels painted by the game through the real
# drawer, with the walkthrough's route laid over them, kept under
# build/artefacts/preview/ (one PNG per screen and sheet.png) for looking at.

preview_run() {
  local out=build/artefacts/preview attempt status
  rm -rf "$out"
  mkdir -p "$out"
  for attempt in 1 2; do
    SDL_VIDEODRIVER=x11 xvfb-run -a -s "-screen 0 1280x1024x24" \
      build/BrickVoyagerPreview --out "$out" --route tests/data/walkthrough.txt
    status=$?
    # 3: the virtual display refused the window; that is worth one more try.
    [ "$status" -eq 3 ] || break
    echo "preview: no window, trying once more"
  done
  [ "$status" -eq 0 ] && [ -s "$out/sheet.png" ]
}

preview_stage() {
  record_stage "preview of the shipped levels" preview_run
}

plain_stages+=(preview_stage)
