#!/usr/bin/env bash
# Where the game's picture lies on the Xvfb screen, for the end-to-end scripts. The game keeps
# the picture's shape (a 640 x 480 back buffer unless a script chose another size), centred
# between black bars; the scripts give places as they lie on the picture stretched over a
# 1280 x 1024 screen, and these helpers move them onto the picture as it is drawn.
read -r SCREEN_W SCREEN_H < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2]; exit }')
BACK_W=${KORVID_E2E_BACK_W:-640} BACK_H=${KORVID_E2E_BACK_H:-480}
if [ "$((SCREEN_W * BACK_H))" -gt "$((SCREEN_H * BACK_W))" ]; then
  PIC_H=$SCREEN_H PIC_W=$(((2 * SCREEN_H * BACK_W / BACK_H + 1) / 2)) PIC_Y=0
  PIC_X=$(((SCREEN_W - PIC_W) / 2))
else
  PIC_W=$SCREEN_W PIC_H=$(((2 * SCREEN_W * BACK_H / BACK_W + 1) / 2)) PIC_X=0
  PIC_Y=$(((SCREEN_H - PIC_H) / 2))
fi
# Use the whole screen instead (the stretched picture of "画面全体に引き伸ばす").
picture_stretched() { PIC_X=0 PIC_Y=0 PIC_W=$SCREEN_W PIC_H=$SCREEN_H; }

# A place or size on the 1280 x 1024 reference, on the screen.
ref_x() { echo $((PIC_X + ($1 * PIC_W + 640) / 1280)); }
ref_y() { echo $((PIC_Y + ($1 * PIC_H + 512) / 1024)); }
ref_w() { echo $((($1 * PIC_W + 640) / 1280)); }
ref_h() { echo $((($1 * PIC_H + 512) / 1024)); }
# ImageMagick crop geometry of a reference rectangle: width height left top.
ref_crop() { echo "$(ref_w "$1")x$(ref_h "$2")+$(ref_x "$3")+$(ref_y "$4")"; }
# The picture alone, without the bars.
picture_crop() { echo "${PIC_W}x${PIC_H}+${PIC_X}+${PIC_Y}"; }
