"""Small numpy/Pillow toolkit for painting the demo's pictures.

Pictures are float arrays of shape (h, w, 3) with channel values in 0..1
(linear enough for our purposes); masks are float arrays (h, w) in 0..1.
Everything here is deterministic: randomness only comes from generators
seeded by the caller.
"""

import numpy as np
from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
FONT_SANS_BOLD = FONT_DIR + "/DejaVuSans-Bold.ttf"
FONT_SERIF_BOLD = FONT_DIR + "/DejaVuSerif-Bold.ttf"


def rgb(r, g, b):
    return np.array([r, g, b], dtype=np.float64) / 255.0


def blank(w, h, colour=(0, 0, 0)):
    img = np.zeros((h, w, 3), dtype=np.float64)
    img[:] = np.asarray(colour, dtype=np.float64).reshape(1, 1, 3) / (
        255.0 if max(colour) > 1 else 1.0)
    return img


def grid(w, h):
    """Pixel-centre coordinates x, y (each shape (h, w))."""
    y, x = np.mgrid[0:h, 0:w].astype(np.float64)
    return x + 0.5, y + 0.5


# ---------------------------------------------------------------- blurs

def _box1d(a, r, axis, wrap):
    if r < 1:
        return a
    a = np.moveaxis(a, axis, 0)
    n = a.shape[0]
    if wrap:
        p = a[np.arange(-r - 1, n + r) % n]
    else:
        z1 = np.zeros((r + 1,) + a.shape[1:])
        z2 = np.zeros((r,) + a.shape[1:])
        p = np.concatenate([z1, a, z2], axis=0)
    c = np.cumsum(p, axis=0)
    out = (c[2 * r + 1:] - c[:-2 * r - 1]) / (2 * r + 1)
    return np.moveaxis(out, 0, axis)


def blur(a, sigma, wrap_x=False, wrap_y=False):
    """Approximate gaussian blur (three box passes per axis)."""
    if sigma <= 0:
        return a.copy()
    w = np.sqrt(12.0 * sigma * sigma / 3.0 + 1.0)
    r = max(1, int(round((w - 1) / 2)))
    out = a.astype(np.float64)
    for _ in range(3):
        out = _box1d(out, r, 1, wrap_x)
        out = _box1d(out, r, 0, wrap_y)
    return out


# ---------------------------------------------------------------- shapes

def ellipse(x, y, cx, cy, rx, ry, soft=1.0, angle=0.0):
    """Antialiased filled ellipse mask (approximate distance field)."""
    dx, dy = x - cx, y - cy
    if angle:
        c, s = np.cos(angle), np.sin(angle)
        dx, dy = c * dx + s * dy, -s * dx + c * dy
    d = np.sqrt((dx / rx) ** 2 + (dy / ry) ** 2)
    sdf = (d - 1.0) * min(rx, ry)
    return np.clip(0.5 - sdf / soft, 0.0, 1.0)


def stamp_ellipse(mask, cx, cy, rx, ry, soft=1.0, angle=0.0, value=1.0):
    """Max an ellipse into mask in place, working only on its bounding box.

    Pixel centres are at integer + 0.5, as in grid().
    """
    h, w = mask.shape
    r = max(rx, ry) + 2 * soft + 1
    x0, x1 = max(0, int(cx - r)), min(w, int(cx + r) + 1)
    y0, y1 = max(0, int(cy - r)), min(h, int(cy + r) + 1)
    if x0 >= x1 or y0 >= y1:
        return mask
    yy, xx = np.mgrid[y0:y1, x0:x1].astype(np.float64)
    e = ellipse(xx + 0.5, yy + 0.5, cx, cy, rx, ry, soft=soft, angle=angle)
    np.maximum(mask[y0:y1, x0:x1], e * value, out=mask[y0:y1, x0:x1])
    return mask


def ring(x, y, cx, cy, rx, ry, width, soft=1.0, angle=0.0):
    """Antialiased elliptical ring of the given line width."""
    dx, dy = x - cx, y - cy
    if angle:
        c, s = np.cos(angle), np.sin(angle)
        dx, dy = c * dx + s * dy, -s * dx + c * dy
    d = np.sqrt((dx / rx) ** 2 + (dy / ry) ** 2)
    sdf = np.abs(d - 1.0) * min(rx, ry) - width / 2.0
    return np.clip(0.5 - sdf / soft, 0.0, 1.0)


def segment(x, y, x0, y0, x1, y1, width, soft=1.0):
    """Antialiased thick line segment with round caps."""
    px, py = x - x0, y - y0
    vx, vy = x1 - x0, y1 - y0
    ll = vx * vx + vy * vy
    t = np.clip((px * vx + py * vy) / ll if ll > 0 else 0 * px, 0.0, 1.0)
    d = np.hypot(px - t * vx, py - t * vy) - width / 2.0
    return np.clip(0.5 - d / soft, 0.0, 1.0)


def polyline(x, y, pts, width, soft=1.0):
    m = np.zeros_like(x)
    for (x0, y0), (x1, y1) in zip(pts[:-1], pts[1:]):
        m = np.maximum(m, segment(x, y, x0, y0, x1, y1, width, soft))
    return m


def polygon(w, h, pts, ss=4):
    """Antialiased polygon mask via supersampled Pillow drawing."""
    im = Image.new("L", (w * ss, h * ss), 0)
    ImageDraw.Draw(im).polygon([(px * ss, py * ss) for px, py in pts], fill=255)
    im = im.resize((w, h), Image.BOX)
    return np.asarray(im, dtype=np.float64) / 255.0


def text_mask(w, h, text, font_path, size, cx, cy, ss=4, spacing=0.0,
              stroke=0):
    """Antialiased text mask, centred at (cx, cy) by its ink box.

    spacing is extra space between letters in pixels (final resolution).
    """
    font = ImageFont.truetype(font_path, int(round(size * ss)))
    im = Image.new("L", (w * ss, h * ss), 0)
    dr = ImageDraw.Draw(im)
    # lay letters out one by one so letter spacing can be controlled
    adv = []
    for ch in text:
        adv.append(font.getlength(ch) + spacing * ss)
    total = sum(adv) - spacing * ss
    # ink box of the whole string for vertical centring
    bb = dr.textbbox((0, 0), text, font=font, stroke_width=stroke * ss)
    ink_h = bb[3] - bb[1]
    x0 = cx * ss - total / 2.0
    y0 = cy * ss - ink_h / 2.0 - bb[1]
    pos = x0
    for ch, a in zip(text, adv):
        dr.text((pos, y0), ch, font=font, fill=255, stroke_width=stroke * ss,
                stroke_fill=255)
        pos += a
    im = im.resize((w, h), Image.BOX)
    return np.asarray(im, dtype=np.float64) / 255.0


def erode(mask, px):
    """Shrink a mask by about px pixels."""
    if px <= 0:
        return mask
    b = blur(mask, px * 0.6)
    return np.clip((b - 0.75) * 4.0 + 0.0, 0.0, 1.0) * mask


# ---------------------------------------------------------------- noise

def fft_noise(w, h, rng, beta=2.0, lo=1.0):
    """Fractal noise that tiles in both directions, normalised to 0..1."""
    fy = np.fft.fftfreq(h)[:, None] * h
    fx = np.fft.fftfreq(w)[None, :] * w
    f = np.sqrt(fx * fx + fy * fy)
    f[0, 0] = 1.0
    amp = 1.0 / np.maximum(f, lo) ** (beta / 2.0)
    amp[0, 0] = 0.0
    phase = rng.uniform(0, 2 * np.pi, size=(h, w))
    mag = rng.normal(1.0, 0.25, size=(h, w))
    coeffs = amp * mag * np.exp(1j * phase)
    n = np.real(np.fft.ifft2(coeffs))
    n -= n.min()
    n /= max(n.max(), 1e-12)
    return n


# ---------------------------------------------------------------- compositing

def over(dst, colour, alpha):
    """Paint colour (rgb vector or image) over dst with alpha mask."""
    a = alpha[..., None]
    c = colour if np.ndim(colour) == 3 else np.asarray(colour).reshape(1, 1, 3)
    return dst * (1.0 - a) + c * a


def add(dst, colour, amount):
    c = colour if np.ndim(colour) == 3 else np.asarray(colour).reshape(1, 1, 3)
    return dst + c * amount[..., None]


def screen_blend(dst, src):
    return 1.0 - (1.0 - dst) * (1.0 - np.clip(src, 0, 1))


def glow(mask, colour, sigma, strength=1.0, wrap_x=False):
    g = blur(mask, sigma, wrap_x=wrap_x) * strength
    return g[..., None] * np.asarray(colour).reshape(1, 1, 3)


def downsample(img, ss):
    """Box-average an (h*ss, w*ss[, c]) array down by ss."""
    if ss == 1:
        return img
    h, w = img.shape[0] // ss, img.shape[1] // ss
    if img.ndim == 3:
        return img.reshape(h, ss, w, ss, img.shape[2]).mean(axis=(1, 3))
    return img.reshape(h, ss, w, ss).mean(axis=(1, 3))


def tonemap(img):
    """Soft shoulder so that additive glows saturate gracefully."""
    img = np.maximum(img, 0.0)
    return np.where(img < 0.8, img, 0.8 + 0.2 * np.tanh((img - 0.8) / 0.2))


def to_u8(img):
    return np.clip(np.round(np.clip(img, 0, 1) * 255.0), 0, 255).astype(np.uint8)


def keyed_u8(img, solid, floor=16, cut=6, margin=6):
    """Convert to 8 bit for a black-keyed picture.

    Faint glow tails (brightest channel below `cut` of 255) outside the
    solid parts become exact black, the transparent key colour.  Dark
    pixels inside the solid parts (mask `solid` above 0.5) are lifted to a
    dim violet floor so no detail of the subject turns transparent.
    """
    h, w = solid.shape
    if margin > 0:
        # glows fade out before the picture's border
        x, y = grid(w, h)
        edge = np.minimum.reduce([x, w - x, y, h - y]) - 0.5
        ramp = np.clip(edge / margin, 0.0, 1.0)
        img = img * (solid + (1.0 - solid) * ramp)[..., None]
    out = to_u8(img).astype(np.int32)
    mx = out.max(axis=2)
    inside = solid > 0.5
    out[(mx < cut) & ~inside] = 0
    low = inside & (mx < floor)
    out[low] = np.maximum(out[low], np.array([floor * 2 // 3, floor // 3, floor]))
    return out.astype(np.uint8)
