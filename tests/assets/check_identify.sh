#!/bin/sh
# check_identify.sh DIR: ImageMagick, which nobody here wrote, reads the clock
# picture at its three scales and all twelve icon images in DIR with the
# expected sizes.
set -eu
dir=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

got=$(identify -format '%m %w %h %[channels]' "$dir/clock.bmp")
[ "$got" = "BMP3 235 110 srgb" ] || fail "clock.bmp reads as '$got'"
got=$(identify -format '%m %w %h, ' "$dir/clock150.bmp" "$dir/clock200.bmp")
[ "$got" = "BMP3 353 165, BMP3 470 220, " ] || fail "the larger pictures read as '$got'"
[ "$(convert "$dir/clock.bmp" -format '%[pixel:p{46,51}] %[pixel:p{157,72}]' info:)" = "srgb(0,0,0) srgb(0,0,0)" ] ||
  fail "clock.bmp's display corners are not black"

got=$(identify -format '%wx%h/%z ' "$dir/bell.ico")
want="16x16/4 24x24/4 32x32/4 48x48/4 16x16/8 24x24/8 32x32/8 48x48/8 16x16/8 24x24/8 32x32/8 32x32/8 "
[ "$got" = "$want" ] || fail "bell.ico reads as '$got', want '$want'"
# ImageMagick turns the AND mask into alpha: corners see-through, the bell opaque.
for image in 0 4 8; do
  corner=$(convert "$dir/bell.ico[$image]" -format '%[fx:p{0,0}.a] %[fx:p{8,8}.a]' info:)
  [ "$corner" = "0 1" ] || fail "bell.ico[$image] alpha at corner and centre is '$corner'"
done
echo "ImageMagick reads the picture and the icon as expected"
