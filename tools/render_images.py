#!/usr/bin/python3
"""Renders the main window's embedded images into resources/images/.

Every image is a palette PNG with transparency at the exact pixel size the
form expects. Captions are black text on a transparent background, as large
as fits with a small margin; vertical Japanese captions are stacked one
character under the other, vertical English ones turned a quarter clockwise.
The English captions go to Image/en/ and are chosen for an English interface
by lang="en" in images.qrc. The logo is the application's name in bold italic
lettering, the window icon three white cards on an olive-green square.

Needs Debian's python3-pil and fonts-noto-cjk. The output is deterministic, so
running the script again over committed images leaves them byte-identical.

Usage: tools/render_images.py [output folder]   (default: resources/images)
"""

import math
import os
import sys

from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/opentype/noto"
FONT_SANS_BOLD = os.path.join(FONT_DIR, "NotoSansCJK-Bold.ttc")
JP_INDEX = 0  # face index of the Japanese variant inside the collections
CAPTION_FONT = FONT_SANS_BOLD

# Text is drawn this many times larger and reduced afterwards, which gives
# smoother edges than the rasteriser's own anti-aliasing at 20-odd pixels.
SUPERSAMPLE = 4

# Number of opacity steps kept for anti-aliased edges. Each step becomes one
# palette entry (black with that alpha), so the palette stays tiny.
ALPHA_LEVELS = 16

# (file, text, width, height, vertical, font)
CAPTIONS = [
    ("Play.png", "再生", 39, 76, True, CAPTION_FONT),
    ("Pause.png", "休止", 39, 76, True, CAPTION_FONT),
    ("Stop.png", "終了", 39, 76, True, CAPTION_FONT),
    ("Image/joka_jp.png", "序歌", 75, 40, False, CAPTION_FONT),
    ("Image/kamikusimokunoma_jp.png", "上句下句の間", 153, 28, False, CAPTION_FONT),
    ("Image/jikumadenoma_jp.png", "次句までの間", 153, 28, False, CAPTION_FONT),
    ("Image/second_jp.png", "秒", 39, 40, False, CAPTION_FONT),
    ("Image/fudaselect_jp.png", "札選択", 27, 76, True, CAPTION_FONT),
    ("Image/ankijikan_jp.png", "暗記時間", 39, 148, True, CAPTION_FONT),
]

# The English versions: (file, text, width, height, vertical, font), same sizes.
CAPTIONS_EN = [
    ("Image/en/Play.png", "Play", 39, 76, True, CAPTION_FONT),
    ("Image/en/Pause.png", "Pause", 39, 76, True, CAPTION_FONT),
    ("Image/en/Stop.png", "Stop", 39, 76, True, CAPTION_FONT),
    ("Image/en/joka.png", "Preamble", 75, 40, False, CAPTION_FONT),
    ("Image/en/kamikusimokunoma.png", "Between halves", 153, 28, False, CAPTION_FONT),
    ("Image/en/jikumadenoma.png", "Before next card", 153, 28, False, CAPTION_FONT),
    ("Image/en/second.png", "sec", 39, 40, False, CAPTION_FONT),
    ("Image/en/fudaselect.png", "Cards", 27, 76, True, CAPTION_FONT),
    ("Image/en/ankijikan.png", "Memorize", 39, 148, True, CAPTION_FONT),
]

LOGO = ("Image/Utakaze_logo.png", "QtUtakaze", 204, 40)
ICON = ("Image/QtUtakazeIcon.png", 32, 32)

MARGIN = 2          # free pixels kept on every side of a caption
LOGO_SLANT = 0.22   # horizontal shift per pixel of height for the italic


def draw_text_mask(text, font_path, size, vertical):
    """Returns an 'L' mask of the text at the given font size, cropped to its ink."""
    font = ImageFont.truetype(font_path, size, index=JP_INDEX)
    if vertical and text.isascii():
        # Latin words read along the column, turned a quarter clockwise.
        return draw_text_mask(text, font_path, size, False).transpose(Image.ROTATE_270)
    if vertical:
        # One em per character cell, each character centred on the column's axis.
        cell = size
        canvas = Image.new("L", (cell * 2, cell * (len(text) + 1)), 0)
        draw = ImageDraw.Draw(canvas)
        for i, ch in enumerate(text):
            draw.text((cell, cell // 2 + i * cell + cell // 2), ch, font=font,
                      fill=255, anchor="mm")
    else:
        width = int(font.getlength(text)) + size * 2
        canvas = Image.new("L", (width, size * 3), 0)
        draw = ImageDraw.Draw(canvas)
        draw.text((size, size * 3 // 2), text, font=font, fill=255, anchor="lm")
    box = canvas.getbbox()
    return canvas.crop(box) if box else canvas


def fit_mask(make_mask, width, height, margin):
    """Finds the largest rendering whose ink fits the image less its margin.

    make_mask(size) renders at a font size (already supersampled); the result
    is reduced to the target scale and centred on a transparent 'L' canvas.
    """
    avail_w = (width - 2 * margin) * SUPERSAMPLE
    avail_h = (height - 2 * margin) * SUPERSAMPLE
    lo, hi = 1, max(avail_w, avail_h) * 2
    best = make_mask(lo)
    while lo <= hi:
        mid = (lo + hi) // 2
        mask = make_mask(mid)
        if mask.width <= avail_w and mask.height <= avail_h:
            best = mask
            lo = mid + 1
        else:
            hi = mid - 1
    # Reduce by the supersampling factor, keeping the aspect ratio.
    small_w = max(1, round(best.width / SUPERSAMPLE))
    small_h = max(1, round(best.height / SUPERSAMPLE))
    small = best.resize((small_w, small_h), Image.LANCZOS)
    out = Image.new("L", (width, height), 0)
    out.paste(small, ((width - small_w) // 2, (height - small_h) // 2))
    return out


def mask_to_palette(mask):
    """Turns an opacity mask into a palette image of black at ALPHA_LEVELS opacities.

    Palette index i holds black with alpha i * 255 / (ALPHA_LEVELS - 1);
    index 0 is fully transparent and forms the background.
    """
    step = 255 / (ALPHA_LEVELS - 1)
    lut = [min(ALPHA_LEVELS - 1, int(v / step + 0.5)) for v in range(256)]
    img = mask.point(lut).convert("P")
    img.putpalette([0, 0, 0] * ALPHA_LEVELS)
    alphas = bytes(round(i * step) for i in range(ALPHA_LEVELS))
    img.info["transparency"] = alphas
    return img, alphas


def shear(mask, slant):
    """Slants a mask to the right by `slant` pixels per pixel of height (italic)."""
    extra = int(mask.height * slant) + 1
    # Affine map from output to input: x_in = x_out + slant * y_out - slant * h.
    return mask.transform((mask.width + extra, mask.height), Image.AFFINE,
                          (1, slant, -slant * mask.height, 0, 1, 0),
                          resample=Image.BICUBIC)


def render_caption(text, width, height, vertical, font_path):
    mask = fit_mask(lambda s: draw_text_mask(text, font_path, s, vertical),
                    width, height, MARGIN)
    return mask_to_palette(mask)


def render_logo(text, width, height):
    def make(size):
        m = shear(draw_text_mask(text, FONT_SANS_BOLD, size, False), LOGO_SLANT)
        box = m.getbbox()
        return m.crop(box) if box else m
    mask = fit_mask(make, width, height, MARGIN)
    return mask_to_palette(mask)


def render_icon(width, height):
    """Three white cards fanned out on an olive-green square with softened corners."""
    scale = 8
    big_w, big_h = width * scale, height * scale
    olive = (107, 122, 36)
    img = Image.new("RGB", (big_w, big_h), olive)
    draw = ImageDraw.Draw(img)
    # A darker rim keeps the square's edge visible on light title bars.
    draw.rounded_rectangle((0, 0, big_w - 1, big_h - 1), radius=3 * scale,
                           outline=(74, 86, 22), width=scale)


    def card(cx, cy, w, h, degrees):
        a = math.radians(degrees)
        ca, sa = math.cos(a), math.sin(a)
        pts = []
        for dx, dy in ((-w / 2, -h / 2), (w / 2, -h / 2), (w / 2, h / 2), (-w / 2, h / 2)):
            pts.append((cx + dx * ca - dy * sa, cy + dx * sa + dy * ca))
        draw.polygon(pts, fill=(255, 255, 255), outline=(40, 44, 20), width=scale // 2)

    cw, ch = 11 * scale, 16 * scale
    card(11 * scale, 16.5 * scale, cw, ch, -18)
    card(21 * scale, 16.5 * scale, cw, ch, 18)
    card(16 * scale, 14.5 * scale, cw, ch, 0)

    small = img.resize((width, height), Image.LANCZOS)
    # Adaptive palette of the few colours present; index 0 is reserved as the
    # transparent entry so the file carries transparency like the others.
    quant = small.quantize(colors=63, method=Image.MEDIANCUT, dither=Image.NONE)
    pal = quant.getpalette()[: 63 * 3]
    shifted = quant.point(lambda i: i + 1)
    # Slightly rounded corners: the outermost corner pixels are left transparent.
    corner = Image.new("L", (big_w, big_h), 0)
    ImageDraw.Draw(corner).rounded_rectangle((0, 0, big_w - 1, big_h - 1),
                                             radius=3 * scale, fill=255)
    inside = corner.resize((width, height), Image.BOX).point(lambda v: 255 if v >= 128 else 0)
    shifted.paste(0, (0, 0), inside.point(lambda v: 255 - v))
    shifted.putpalette([0, 0, 0] + pal)
    alphas = bytes([0] + [255] * 63)
    shifted.info["transparency"] = alphas
    return shifted, alphas


def save(img_and_alpha, root, rel):
    img, alphas = img_and_alpha
    path = os.path.join(root, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, format="PNG", optimize=False, transparency=alphas)
    print(f"{rel}: {img.width}x{img.height}")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "images")
    for rel, text, w, h, vertical, font in CAPTIONS + CAPTIONS_EN:
        save(render_caption(text, w, h, vertical, font), root, rel)
    rel, text, w, h = LOGO
    save(render_logo(text, w, h), root, rel)
    rel, w, h = ICON
    save(render_icon(w, h), root, rel)


if __name__ == "__main__":
    main()
