"""The demo's twelve pictures.

One look for the whole set: a night forest lit by neon.  The star is
Lumova, a glowing oval forest spirit with a sprout on its head; it bobs,
slides, leaps and stares out of the rotozoomer.  Each function returns
(rgb uint8 array, list of (x, y) background points, list of (x, y)
subject points); the points are what the self-check and the unit test
look at for the black colour key.
"""

import numpy as np

from canvas import (FONT_SANS_BOLD, FONT_SERIF_BOLD, add, blur, downsample,
                    ellipse, erode, fft_noise, glow, grid, keyed_u8, over,
                    polygon, polyline, rgb, ring, segment, stamp_ellipse,
                    text_mask, to_u8, tonemap)

# palette shared by every picture
CYAN = rgb(50, 225, 255)
MAGENTA = rgb(255, 60, 200)
LIME = rgb(160, 255, 70)
AMBER = rgb(255, 180, 70)
VIOLET = rgb(130, 70, 230)
NIGHT = rgb(8, 10, 32)
DUSK = rgb(48, 18, 70)
BODY_TOP = rgb(70, 220, 205)
BODY_BOT = rgb(115, 55, 195)
BELLY = rgb(200, 255, 235)
EYE_WHITE = rgb(245, 250, 255)
IRIS_IN = rgb(210, 255, 110)
IRIS_OUT = rgb(40, 170, 60)
PUPIL = rgb(24, 10, 44)
LEAF = rgb(120, 240, 90)
STEM = rgb(60, 170, 70)
BLOOD = rgb(175, 4, 18)

SS = 3  # supersampling factor for the painted pictures


def _mix(a, b, t):
    t = np.clip(t, 0.0, 1.0)[..., None]
    return a * (1.0 - t) + b * t


# ---------------------------------------------------------------- Lumova

def paint_lumova(img, x, y, cx, cy, u, pose="idle", look=(0.0, 0.0),
                 tilt=0.0, roots=None, glow_amount=1.0):
    """Paint the spirit onto img (same grid as x, y).

    u is the body's half height in pixels of the grid.  Returns the new
    image and the mask of its solid parts.
    """
    px = 1.0 / u  # one grid pixel in body units
    c, s = np.cos(tilt), np.sin(tilt)
    dx, dy = x - cx, y - cy
    lx = (c * dx + s * dy) / u
    ly = (-s * dx + c * dy) / u

    def E(ex, ey, rx, ry, ang=0.0, soft=1.5):
        return ellipse(lx, ly, ex, ey, rx, ry, soft=soft * px, angle=ang)

    solid = np.zeros_like(x)

    # limbs
    if pose == "leap":
        arms = [(-0.88, -0.62, 0.13, 0.32, 0.85), (0.88, -0.62, 0.13, 0.32, -0.85)]
        feet = [(-0.30, 1.02, 0.22, 0.11, -0.35), (0.38, 0.96, 0.22, 0.11, 0.45)]
    elif pose == "wave":
        arms = [(-0.80, 0.25, 0.13, 0.28, 0.45), (0.86, -0.40, 0.13, 0.30, -0.65)]
        feet = [(-0.33, 0.98, 0.22, 0.11, 0.0), (0.33, 0.98, 0.22, 0.11, 0.0)]
    else:
        arms = [(-0.80, 0.25, 0.13, 0.28, 0.45), (0.80, 0.25, 0.13, 0.28, -0.45)]
        feet = [(-0.33, 0.98, 0.22, 0.11, 0.0), (0.33, 0.98, 0.22, 0.11, 0.0)]

    body = E(0.0, 0.0, 0.82, 1.0)
    limbs = np.zeros_like(x)
    for ax, ay, rx, ry, ang in arms + feet:
        limbs = np.maximum(limbs, E(ax, ay, rx, ry, ang))

    # sprout: stem and two leaves
    stem = polyline(lx, ly, [(0.0, -0.92), (0.04, -1.18), (0.02, -1.36)], 0.07,
                    soft=1.5 * px)
    leaf1 = E(-0.19, -1.40, 0.20, 0.085, 0.45)
    leaf2 = E(0.22, -1.46, 0.22, 0.09, -0.55)
    leaves = np.maximum(leaf1, leaf2)

    # roots: glowing tendrils hanging below the body
    root_mask = np.zeros_like(x)
    root_col = np.zeros(x.shape + (3,))
    if roots is not None:
        rng = np.random.default_rng(roots)
        n = 6
        for i in range(n):
            x0 = -0.55 + 1.1 * i / (n - 1)
            length = rng.uniform(0.75, 1.05)
            ph = rng.uniform(0, 2 * np.pi)
            pts = []
            for k in range(13):
                t = k / 12.0
                pts.append((x0 * (1 + 0.35 * t) + 0.12 * t * np.sin(ph + 7 * t),
                            0.75 + length * t))
            w = 0.075 - 0.03 * np.linspace(0, 1, len(pts) - 1)
            m = np.zeros_like(x)
            for j in range(len(pts) - 1):
                m = np.maximum(m, segment(lx, ly, pts[j][0], pts[j][1],
                                          pts[j + 1][0], pts[j + 1][1], w[j],
                                          soft=1.5 * px))
            bulb = E(pts[-1][0], pts[-1][1], 0.07, 0.07)
            col = CYAN if i % 2 == 0 else LIME
            root_mask = np.maximum(root_mask, np.maximum(m, bulb))
            root_col += (np.maximum(m * 0.7, bulb))[..., None] * col
        root_col = np.clip(root_col, 0, 1)

    everything = np.maximum.reduce([body, limbs, stem, leaves, root_mask])

    # halo behind the spirit
    if glow_amount > 0:
        img = img + glow(body, CYAN, 0.35 * u, 0.55 * glow_amount)
        img = img + glow(np.maximum(leaves, root_mask), LIME, 0.2 * u,
                         0.5 * glow_amount)
        img = img + glow(body, MAGENTA, 0.12 * u, 0.25 * glow_amount)

    if roots is not None:
        img = over(img, root_col / np.maximum(root_mask[..., None], 1e-6),
                   root_mask)
        img = img + glow(root_mask, CYAN, 0.08 * u, 0.6 * min(1.0, glow_amount))

    # limbs, darker than the body
    limb_col = _mix(BODY_TOP * 0.8, BODY_BOT * 0.8, (ly + 1.0) / 2.0)
    img = over(img, limb_col, limbs)
    img = over(img, STEM[None, None, :] * np.ones_like(img), stem)
    leaf_col = _mix(LEAF, LEAF * 0.55, (ly + 1.55) / 0.3)
    img = over(img, leaf_col, leaves)
    img = over(img, LIME, E(-0.19, -1.40, 0.17, 0.012, 0.45) * 0.6)
    img = over(img, LIME, E(0.22, -1.46, 0.19, 0.012, -0.55) * 0.6)

    # body: vertical gradient, soft shading from the upper left
    grad = _mix(BODY_TOP, BODY_BOT, (ly + 0.9) / 1.8)
    light = np.clip(1.08 - 0.32 * np.hypot(lx + 0.32, ly + 0.45), 0.55, 1.05)
    img = over(img, grad * light[..., None], body)
    img = over(img, BELLY, E(0.0, 0.42, 0.48, 0.45, soft=8.0) * 0.28 * body)
    # rim light, cyan on the upper left turning magenta at the lower right
    theta = np.arctan2(ly, lx)
    rim = ring(lx, ly, 0.0, 0.0, 0.80, 0.98, 0.05, soft=1.5 * px) * body
    rim_col = _mix(CYAN, MAGENTA, (np.sin(theta + 0.8) + 1.0) / 2.0)
    img = over(img, rim_col, rim * 0.85)
    # specular highlight
    img = over(img, rgb(255, 255, 255),
               blur(E(-0.36, -0.58, 0.17, 0.08, -0.6), 0.03 * u) * 0.7 * body)

    # face
    for sx in (-1.0, 1.0):
        img = over(img, rgb(255, 120, 200), E(sx * 0.52, 0.15, 0.14, 0.08,
                                               soft=6.0) * 0.45)
        ex, ey = sx * 0.30, -0.18
        white = E(ex, ey, 0.22, 0.27)
        img = over(img, EYE_WHITE, white)
        ix, iy = ex + look[0] * 0.07, ey + look[1] * 0.08 + 0.02
        d = np.hypot(lx - ix, ly - iy) / 0.15
        iris = E(ix, iy, 0.15, 0.16) * white
        img = over(img, _mix(IRIS_IN, IRIS_OUT, d), iris)
        img = over(img, PUPIL, E(ix, iy + 0.01, 0.08, 0.09) * white)
        img = over(img, rgb(255, 255, 255),
                   E(ix - 0.05, iy - 0.06, 0.045, 0.045) * white)
        img = over(img, rgb(255, 255, 255),
                   E(ix + 0.04, iy + 0.05, 0.02, 0.02) * white * 0.8)
        img = over(img, PUPIL, ring(lx, ly, ex, ey, 0.22, 0.27, 0.025,
                                    soft=1.5 * px) * 0.7)
    # smile: the lower half of a small ring
    mouth = ring(lx, ly, 0.0, 0.16, 0.13, 0.09, 0.035, soft=1.5 * px)
    mouth *= np.clip((ly - 0.17) / 0.02, 0.0, 1.0)
    img = over(img, PUPIL, mouth)

    solid = np.maximum(solid, everything)
    return img, solid


# ---------------------------------------------------------------- helpers

def _stars(img, x, y, rng, n, colour=(1.0, 1.0, 1.0), size=0.7, ss=SS,
           bright=(0.3, 1.0)):
    h, w = x.shape
    m = np.zeros_like(x)
    for _ in range(n):
        sx, sy = rng.uniform(0, w), rng.uniform(0, h)
        b = rng.uniform(*bright)
        stamp_ellipse(m, sx, sy, size * ss, size * ss, soft=ss * 0.8, value=b)
    return img + glow(m, np.asarray(colour), ss * 0.8, 2.0) + \
        m[..., None] * np.asarray(colour)


def _fireflies(x, y, rng, n, area, ss=SS, r=1.0):
    """Mask of small glowing dots inside area (x0, y0, x1, y1)."""
    m = np.zeros_like(x)
    for _ in range(n):
        fx = rng.uniform(area[0], area[2]) * ss
        fy = rng.uniform(area[1], area[3]) * ss
        stamp_ellipse(m, fx, fy, r * ss, r * ss, soft=ss,
                      value=rng.uniform(0.5, 1.0))
    return m


def _neon_text(img, mask, fill_top, fill_bottom, glow_col, sigma, y, y0, y1,
               core=0.0):
    """Fill a text mask with a vertical gradient and a neon glow."""
    img = img + glow(mask, glow_col, sigma, 1.1)
    img = img + glow(mask, glow_col, sigma * 3.0, 0.5)
    fill = _mix(fill_top, fill_bottom, (y - y0) / max(y1 - y0, 1))
    img = over(img, fill, mask)
    if core > 0:
        img = over(img, rgb(255, 250, 255), erode(mask, core) * 0.55)
    return img


def _finish(img_ss):
    return tonemap(downsample(img_ss, SS))


# ---------------------------------------------------------------- pictures

def lumovalogo():
    """Slot 0, 300x200 GIF: the title logo the intro dissolves."""
    w, h = 300, 200
    W, H = w * SS, h * SS
    x, y = grid(W, H)
    rng = np.random.default_rng(1001)
    img = np.zeros((H, W, 3))
    # dark violet aura fading to pure black at the edges
    aura = ellipse(x, y, W / 2, H / 2, W * 0.46, H * 0.44, soft=W * 0.25)
    img = add(img, DUSK, aura * 0.9)
    img = _stars(img, x, y, rng, 26, size=0.6, bright=(0.2, 0.8))
    # the oval ("soikkeli") ring around the name
    ov = ring(x, y, W / 2, H * 0.49, W * 0.45, H * 0.36, 2.2 * SS, soft=SS,
              angle=-0.06)
    img = img + glow(ov, CYAN, 6 * SS, 1.2)
    img = over(img, _mix(CYAN, MAGENTA, x / W), ov)
    # sprout on top of the ring
    img, _ = _sprout(img, x, y, W / 2, H * 0.49 - H * 0.36 + SS, 14 * SS)
    # name
    t = text_mask(W, H, "LUMOVA", FONT_SANS_BOLD, 52 * SS, W / 2, H * 0.46,
                  ss=1, spacing=3 * SS)
    img = _neon_text(img, t, rgb(255, 235, 255), rgb(255, 70, 190), MAGENTA,
                     3 * SS, y, H * 0.32, H * 0.60, core=2 * SS)
    sub = text_mask(W, H, "soikkelimetsä", FONT_SANS_BOLD, 14 * SS, W / 2,
                    H * 0.715, ss=1, spacing=2.2 * SS)
    img = img + glow(sub, CYAN, 2 * SS, 0.9)
    img = over(img, rgb(190, 250, 255), sub)
    img = _finish(img)
    # vignette so the rectangle melts into the black screen
    xf, yf = grid(w, h)
    edge = np.minimum.reduce([xf, w - xf, yf, h - yf])
    img *= np.clip(edge / 10.0, 0, 1)[..., None]
    return to_u8(img), [(0, 0), (w - 1, h - 1)], [(w // 2, int(h * 0.46))]


def _sprout(img, x, y, cx, cy, size):
    """A small two-leaf sprout standing on (cx, cy)."""
    stem = polyline(x, y, [(cx, cy), (cx + 0.05 * size, cy - 0.6 * size),
                           (cx, cy - size)], 0.12 * size, soft=SS)
    l1 = ellipse(x, y, cx - 0.42 * size, cy - 1.05 * size, 0.45 * size,
                 0.18 * size, soft=SS, angle=0.45)
    l2 = ellipse(x, y, cx + 0.45 * size, cy - 1.15 * size, 0.48 * size,
                 0.2 * size, soft=SS, angle=-0.55)
    m = np.maximum.reduce([stem, l1, l2])
    img = img + glow(m, LIME, 0.5 * size, 0.8)
    img = over(img, STEM, stem)
    img = over(img, LEAF, np.maximum(l1, l2))
    return img, m


def lumova1():
    """Slot 1, 160x120 GIF, drawn without a key: Lumova waving."""
    w, h = 160, 120
    W, H = w * SS, h * SS
    x, y = grid(W, H)
    rng = np.random.default_rng(1002)
    img = np.zeros((H, W, 3))
    ff = _fireflies(x, y, rng, 9, (8, 10, 152, 112))
    img = img + glow(ff, LIME, 2 * SS, 1.5) + ff[..., None] * LIME
    img, solid = paint_lumova(img, x, y, W * 0.5, H * 0.57, 38 * SS,
                              pose="wave", look=(0.4, -0.2))
    img = _finish(img)
    return to_u8(img), [(0, 0), (w - 1, h - 1)], [(w // 2, int(h * 0.57))]


def mystikko():
    """Slot 2, 350x150 GIF, black-keyed: the mystic sign along the top."""
    w, h = 350, 150
    W, H = w * SS, h * SS
    x, y = grid(W, H)
    rng = np.random.default_rng(1003)
    img = np.zeros((H, W, 3))
    solid = np.zeros_like(x)
    # all-seeing eye
    ex, ey = W / 2, 30 * SS
    lid = np.minimum(ellipse(x, y, ex, ey + 14 * SS, 30 * SS, 24 * SS, soft=SS),
                     ellipse(x, y, ex, ey - 14 * SS, 30 * SS, 24 * SS, soft=SS))
    img = img + glow(lid, VIOLET, 5 * SS, 1.0)
    img = over(img, rgb(40, 16, 80), lid)
    iris = ellipse(x, y, ex, ey, 9 * SS, 9 * SS, soft=SS) * lid
    d = np.hypot(x - ex, y - ey) / (9 * SS)
    img = over(img, _mix(rgb(255, 240, 140), AMBER * 0.8, d), iris)
    img = over(img, PUPIL, ellipse(x, y, ex, ey, 2.5 * SS, 6.5 * SS, soft=SS)
               * lid)
    edge = np.clip(lid - np.minimum(
        ellipse(x, y, ex, ey + 14 * SS, 28 * SS, 22 * SS, soft=SS),
        ellipse(x, y, ex, ey - 14 * SS, 28 * SS, 22 * SS, soft=SS)), 0, 1)
    img = over(img, rgb(220, 170, 255), edge)
    solid = np.maximum(solid, lid)
    # rays around the eye
    for k in range(11):
        a = np.pi * (0.08 + 0.84 * k / 10)
        r0, r1 = 36 * SS, (46 + 6 * (k % 2)) * SS
        ray = segment(x, y, ex - r0 * np.cos(a), ey - r0 * np.sin(a) * 0.8 + 4 * SS,
                      ex - r1 * np.cos(a), ey - r1 * np.sin(a) * 0.8 + 4 * SS,
                      1.6 * SS, soft=SS)
        ray *= (y > 0)
        img = img + glow(ray, AMBER, 2 * SS, 0.7)
        img = over(img, rgb(255, 210, 120), ray)
        solid = np.maximum(solid, ray)
    # the word
    t = text_mask(W, H, "mystikko", FONT_SERIF_BOLD, 50 * SS, W / 2, 88 * SS,
                  ss=1, spacing=2 * SS)
    img = _neon_text(img, t, rgb(240, 200, 255), VIOLET * 1.1, MAGENTA,
                     2.5 * SS, y, 70 * SS, 106 * SS, core=1.5 * SS)
    solid = np.maximum(solid, t)
    # underline with a diamond in the middle and sparkles
    line = segment(x, y, 40 * SS, 126 * SS, 310 * SS, 126 * SS, 1.6 * SS,
                   soft=SS)
    dia = polygon(W, H, [(W / 2, 118 * SS), (W / 2 + 9 * SS, 126 * SS),
                         (W / 2, 134 * SS), (W / 2 - 9 * SS, 126 * SS)], ss=1)
    deco = np.maximum(line, dia)
    img = img + glow(deco, CYAN, 3 * SS, 1.0)
    img = over(img, _mix(CYAN, MAGENTA, np.abs(x - W / 2) / (W / 2)), deco)
    solid = np.maximum(solid, deco)
    for sx in (60, 100, 250, 290, 20, 330):
        sy = 140 if sx in (20, 330) else 112
        sp = np.maximum(segment(x, y, (sx - 5) * SS, sy * SS, (sx + 5) * SS,
                                sy * SS, 1.2 * SS, soft=SS),
                        segment(x, y, sx * SS, (sy - 5) * SS, sx * SS,
                                (sy + 5) * SS, 1.2 * SS, soft=SS))
        img = img + glow(sp, LIME, 2 * SS, 0.8)
        img = over(img, rgb(230, 255, 200), sp)
        solid = np.maximum(solid, sp)
    img = _finish(img)
    solid = downsample(solid, SS)
    out = keyed_u8(img, solid)
    return out, [(0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)], \
        [(w // 2, 30), (w // 2, 126)]


def blaa():
    """Slot 3, 90x60 GIF, black-keyed: the speech bubble stamp."""
    w, h = 90, 60
    W, H = w * SS, h * SS
    x, y = grid(W, H)
    img = np.zeros((H, W, 3))
    bub = ellipse(x, y, 47 * SS, 24 * SS, 40 * SS, 20 * SS, soft=SS)
    tail = polygon(W, H, [(20 * SS, 34 * SS), (34 * SS, 40 * SS),
                          (8 * SS, 56 * SS)], ss=1)
    shape = np.maximum(bub, tail)
    inner = np.maximum(ellipse(x, y, 47 * SS, 24 * SS, 37.5 * SS, 17.5 * SS,
                               soft=SS),
                       polygon(W, H, [(22.5 * SS, 35 * SS), (31 * SS, 38.5 * SS),
                                      (13 * SS, 50 * SS)], ss=1))
    img = img + glow(shape, MAGENTA, 2 * SS, 0.9)
    img = over(img, rgb(255, 120, 235), shape)
    fill = _mix(rgb(120, 30, 130), rgb(60, 14, 90), (y - 4 * SS) / (40 * SS))
    img = over(img, fill, inner)
    t = text_mask(W, H, "blaa!", FONT_SANS_BOLD, 19 * SS, 47 * SS, 24 * SS,
                  ss=1, spacing=0.5 * SS)
    img = img + glow(t, AMBER, 1.5 * SS, 0.8) * inner[..., None]
    img = over(img, rgb(255, 240, 150), t)
    img = _finish(img)
    solid = downsample(shape, SS)
    out = keyed_u8(img, solid)
    return out, [(0, 0), (w - 1, 0), (w - 1, h - 1), (1, 1)], \
        [(47, 10), (25, 40)]


def vors3():
    """Slot 4, 640x480 JPEG: the rotozoom picture, Lumova in neon rings."""
    w, h = 640, 480
    ss = 2
    W, H = w * ss, h * ss
    x, y = grid(W, H)
    rng = np.random.default_rng(1004)
    # nebula sky
    n1 = fft_noise(W // 4, H // 4, rng, beta=3.2)
    n2 = fft_noise(W // 4, H // 4, rng, beta=2.4)
    n1 = np.kron(n1, np.ones((4, 4)))
    n2 = np.kron(n2, np.ones((4, 4)))
    n1, n2 = blur(n1, 3), blur(n2, 3)
    img = _mix(NIGHT, DUSK, y / H * 0.8 + 0.4 * n1 - 0.2)
    img = img + (np.clip(n2 - 0.5, 0, 1) ** 1.5)[..., None] * VIOLET * 0.9
    img = img + (np.clip(n1 - 0.6, 0, 1) ** 1.5)[..., None] * CYAN * 0.6
    img = _stars(img, x, y, rng, 160, size=0.6, ss=ss, bright=(0.2, 0.9))
    cx, cy = W / 2, H / 2
    # concentric neon ovals, fading outwards
    cols = [CYAN, MAGENTA, LIME, AMBER, VIOLET]
    rings = [np.zeros_like(x) for _ in cols]
    for k in range(1, 14):
        rx = (58 + 26 * k) * ss
        ry = rx * 0.82
        m = ring(x, y, cx, cy + 8 * ss, rx, ry, (2.6 - 0.08 * k) * ss, soft=ss)
        fade = 1.0 - k / 16.0
        np.maximum(rings[k % len(cols)], m * fade, out=rings[k % len(cols)])
    for col, m in zip(cols, rings):
        img = img + glow(m, col, 5 * ss, 0.9)
    for col, m in zip(cols, rings):
        img = over(img, col * (0.6 + 0.4 * m[..., None]), m)
    # rays of light between the rings
    theta = np.arctan2(y - cy, x - cx)
    rays = (0.5 + 0.5 * np.cos(theta * 12)) ** 8
    rad = np.hypot(x - cx, (y - cy) / 0.82)
    rays *= np.clip((rad - 80 * ss) / (60 * ss), 0, 1) * np.exp(-rad / (260 * ss))
    img = img + rays[..., None] * (MAGENTA * 0.35 + CYAN * 0.15)
    # forest silhouettes: spruces along the bottom edge, in two layers
    for layer, (base, height, shade, count) in enumerate(
            [(0.86, 0.30, rgb(30, 22, 70), 11), (0.98, 0.36, rgb(10, 8, 28), 8)]):
        trees = np.zeros_like(x)
        for i in range(count):
            tx = (i + rng.uniform(0.1, 0.9)) * W / count
            th = height * H * rng.uniform(0.7, 1.15)
            tw = th * 0.34
            by = base * H + rng.uniform(-10, 10) * ss
            pts = [(tx, by - th)]
            for j in range(1, 6):
                f = j / 5.0
                pts.append((tx + tw * f * 0.55, by - th + th * f * 0.92))
                pts.append((tx + tw * f * 0.25, by - th + th * f * 0.92 - th * 0.05))
            pts.append((tx + tw * 0.08, H + 2))
            pts.append((tx - tw * 0.08, H + 2))
            for j in range(5, 0, -1):
                f = j / 5.0
                pts.append((tx - tw * f * 0.25, by - th + th * f * 0.92 - th * 0.05))
                pts.append((tx - tw * f * 0.55, by - th + th * f * 0.92))
            trees = np.maximum(trees, polygon(W, H, pts, ss=1))
        trees = np.maximum(trees, np.clip((y - base * H - 20 * ss) / ss, 0, 1))
        rim = np.clip(trees - np.roll(trees, (2 * ss, 2 * ss), axis=(0, 1)), 0, 1)
        img = over(img, shade, trees)
        img = over(img, CYAN * (0.55 - 0.25 * layer), rim * 0.7)
    # fireflies spiralling about the centre
    ff = np.zeros_like(x)
    for k in range(70):
        a = k * 2.399963
        r = (60 + 3.3 * k) * ss
        stamp_ellipse(ff, cx + r * np.cos(a), cy + r * np.sin(a) * 0.82,
                      1.4 * ss, 1.4 * ss, soft=ss,
                      value=0.5 + 0.5 * ((k * 7) % 5) / 4)
    img = img + glow(ff, LIME, 3 * ss, 1.5) + ff[..., None] * rgb(220, 255, 160)
    # Lumova in the middle, eyes right on the rotation centre
    img, _ = paint_lumova(img, x, y, cx, cy + 14 * ss, 58 * ss, pose="idle",
                          look=(0.0, 0.3), glow_amount=1.6)
    img = tonemap(downsample(img, ss))
    return to_u8(img), [], [(w // 2, h // 2)]


def lumova2():
    """Slot 5, 200x200 JPEG, black-keyed: Lumova with glowing roots.

    The strip tile is 160 rows high; the roots hang in the 40 rows below
    it and leave streaks of light as the picture slides over the black.
    """
    w, h = 200, 200
    W, H = w * SS, h * SS
    x, y = grid(W, H)
    img = np.zeros((H, W, 3))
    # only a faint, tight halo: the picture is keyed over the forest strip,
    # where a wide dark glow would read as a shadowy box
    img, solid = paint_lumova(img, x, y, W * 0.5, 84 * SS, 50 * SS,
                              pose="wave", look=(0.9, 0.1), roots=77,
                              glow_amount=0.3)
    img = _finish(img)
    solid = downsample(solid, SS)
    out = keyed_u8(img, solid, cut=40)
    return out, [(0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)], \
        [(w // 2, 84), (w // 2, 120)]


def metsa():
    """Slot 6, 206x160 JPEG: the forest strip tile, seamless left-right."""
    w, h = 206, 160
    W, H = w * SS, h * SS
    x, y = grid(W, H)
    rng = np.random.default_rng(1006)

    def wrapx(px):
        """x measured so that an element at px repeats every tile width."""
        return ((x - px + W / 2) % W) - W / 2 + px

    cl = fft_noise(w, h, rng, beta=3.0)
    cl = np.kron(cl, np.ones((SS, SS)))
    img = _mix(NIGHT, rgb(40, 28, 96), (y / H) * 1.2 - 0.1)
    img = img + (np.clip(cl - 0.5, 0, 1) * 1.4)[..., None] * VIOLET * 0.45 \
        * np.clip(1.2 - y / H * 1.5, 0, 1)[..., None]
    # stars in the upper sky
    st = np.zeros_like(x)
    for _ in range(14):
        sx, sy = rng.uniform(0, W), rng.uniform(0, H * 0.4)
        st = np.maximum(st, ellipse(wrapx(sx), y, sx, sy, 0.6 * SS, 0.6 * SS,
                                    soft=SS) * rng.uniform(0.3, 1.0))
    img = img + glow(st, rgb(200, 220, 255), SS, 1.5, wrap_x=True) + \
        st[..., None]

    # far layer: pale blue spruces in the mist
    def spruces(count, base, height, seed_shift):
        m = np.zeros_like(x)
        for i in range(count):
            tx = (i + rng.uniform(0.15, 0.85)) * W / count + seed_shift
            th = height * rng.uniform(0.75, 1.15)
            tw = th * 0.27
            xs = wrapx(tx)
            # a spruce as a stack of three triangles
            for j in range(3):
                top = base - th + j * th * 0.26
                bot = top + th * 0.45
                half = tw * (0.45 + 0.25 * j)
                inside = (y >= top) & (y <= bot)
                frac = np.clip((y - top) / (bot - top), 0, 1)
                edge = half * frac - np.abs(xs - tx)
                m = np.maximum(m, np.clip(edge / SS + 0.5, 0, 1) * inside)
            trunk = (np.abs(xs - tx) < tw * 0.07) & (y > base - th * 0.3)
            m = np.maximum(m, trunk.astype(float))
        return m

    far = spruces(5, H * 0.80, H * 0.55, 0.0)
    img = over(img, rgb(36, 40, 104), far * 0.92)
    mist = np.clip(1 - np.abs(y - H * 0.72) / (H * 0.16), 0, 1) ** 1.5
    img = img + mist[..., None] * rgb(80, 70, 150) * (0.35 + 0.3 * cl[..., None])

    # near layer: dark trunks with neon rim light
    trunks = np.zeros_like(x)
    rimc = np.zeros_like(x)
    for tx, tw, lean in [(30, 13, 0.03), (112, 9, -0.02), (168, 16, 0.015)]:
        txs, tws = tx * SS, tw * SS
        cxl = txs + lean * (y - H)
        xs = wrapx(txs)
        d = np.abs(xs - cxl) - tws / 2 * (1 + 0.25 * (y / H))
        t = np.clip(0.5 - d / SS, 0, 1)
        trunks = np.maximum(trunks, t)
        side = np.clip(1.0 - np.abs(xs - (cxl - tws / 2 * (1 + 0.25 * y / H))
                                    - 1.2 * SS) / (1.5 * SS), 0, 1)
        rimc = np.maximum(rimc, side * t)
    bark = 0.75 + 0.25 * np.kron(fft_noise(w, h, rng, beta=1.2),
                                 np.ones((SS, SS)))
    img = over(img, rgb(14, 12, 30) * bark[..., None] * 1.3, trunks)
    img = img + glow(rimc, CYAN, SS * 1.5, 0.6, wrap_x=True)
    img = over(img, CYAN, rimc * 0.8)

    # ground: moss with glowing mushrooms and fireflies
    gnd_y = H * 0.86 + 3 * SS * np.sin(2 * np.pi * x / W * 2) + \
        2 * SS * np.sin(2 * np.pi * x / W * 5 + 1.0)
    ground = np.clip((y - gnd_y) / SS + 0.5, 0, 1)
    img = over(img, _mix(rgb(20, 48, 40), rgb(8, 16, 20), (y - gnd_y) / (H * 0.14)),
               ground)
    moss_edge = np.clip(1.0 - np.abs(y - gnd_y) / (1.2 * SS), 0, 1)
    img = over(img, rgb(90, 200, 110), moss_edge * 0.6)
    caps = np.zeros_like(x)
    stems = np.zeros_like(x)
    for mx_, size in [(10, 5), (62, 4), (74, 6), (140, 4), (188, 5), (196, 3)]:
        mxs = mx_ * SS
        xs = wrapx(mxs)
        base = H * 0.86 + 3 * SS * np.sin(2 * np.pi * mxs / W * 2) + \
            2 * SS * np.sin(2 * np.pi * mxs / W * 5 + 1.0) + 3 * SS
        stems = np.maximum(stems, segment(xs, y, mxs, base, mxs,
                                          base - size * 1.4 * SS, 1.2 * SS,
                                          soft=SS))
        cap = ellipse(xs, y, mxs, base - size * 1.4 * SS, size * SS,
                      size * 0.6 * SS, soft=SS) * (y < base - size * 1.4 * SS)
        caps = np.maximum(caps, cap)
    img = over(img, rgb(200, 210, 220), stems)
    img = img + glow(caps, CYAN, 3 * SS, 1.4, wrap_x=True)
    img = over(img, _mix(rgb(170, 255, 255), rgb(40, 150, 230),
                         (y % (6 * SS)) / (6 * SS)), caps)
    ff = np.zeros_like(x)
    for _ in range(10):
        fx, fy = rng.uniform(0, W), rng.uniform(H * 0.35, H * 0.8)
        ff = np.maximum(ff, ellipse(wrapx(fx), y, fx, fy, 0.9 * SS, 0.9 * SS,
                                    soft=SS) * rng.uniform(0.6, 1.0))
    img = img + glow(ff, LIME, 2.5 * SS, 1.6, wrap_x=True) + \
        ff[..., None] * rgb(220, 255, 150)
    img = _finish(img)
    return to_u8(img), [], [(w // 2, h // 2)]


def lepikkorapu():
    """Slot 7, 390x480 JPEG: the cut-in, a crab in a misty alder grove."""
    w, h = 390, 480
    ss = 2
    W, H = w * ss, h * ss
    x, y = grid(W, H)
    rng = np.random.default_rng(1007)
    fog = np.kron(fft_noise(w // 2, h // 2, rng, beta=3.0), np.ones((4, 4)))
    fog = blur(fog, 4)
    img = _mix(rgb(6, 8, 26), rgb(34, 40, 80), (y / H) ** 1.3)
    img = img + (np.clip(fog - 0.4, 0, 1) * 1.2)[..., None] * rgb(90, 90, 160) \
        * (0.3 + 0.7 * (y / H))[..., None]
    # moon behind the trees
    moon = ellipse(x, y, W * 0.72, H * 0.14, 34 * ss, 34 * ss, soft=ss)
    img = img + glow(moon, rgb(200, 220, 255), 40 * ss, 0.7)
    img = over(img, rgb(235, 240, 255) * (0.9 + 0.1 * fog[..., None]), moon)

    # alder trunks: grey bark, moonlit on the right, dark lenticel dashes
    trunks = [(40, 22, 0.02, 0.0), (118, 15, -0.03, 0.1), (205, 30, 0.01, 0.0),
              (292, 18, 0.04, 0.15), (355, 25, -0.02, 0.0), (165, 9, 0.05, 0.3)]
    order = sorted(range(len(trunks)), key=lambda i: -trunks[i][3])
    for i in order:
        tx, tw, lean, depth = trunks[i]
        txs, tws = tx * ss, tw * ss
        cxl = txs + lean * (H - y)
        half = tws / 2 * (1 + 0.2 * y / H)
        u = (x - cxl) / half
        m = np.clip((1 - np.abs(u)) * half / ss, 0, 1)
        # branches near the top
        for b in range(3):
            by = (40 + 70 * b + rng.uniform(-20, 20)) * ss
            sgn = 1 if (b + i) % 2 == 0 else -1
            bl = rng.uniform(40, 80) * ss
            m = np.maximum(m, segment(x, y, txs + lean * (H - by), by,
                                      txs + lean * (H - by) + sgn * bl,
                                      by - bl * 0.6, tws * 0.25, soft=ss))
        shade = 0.35 + 0.65 * np.clip(0.5 + 0.5 * u, 0, 1) ** 1.5
        bark = rgb(92, 88, 100) * (1 - depth)
        tex = np.kron(fft_noise(w // 2, h // 2, rng, beta=1.0), np.ones((4, 4)))
        col = bark * (shade * (0.8 + 0.35 * tex))[..., None]
        # lenticels: short horizontal dashes
        dash = ((np.sin(y / (7 * ss) + 3 * np.sin(x / (11 * ss) + i)) > 0.93)
                & (np.abs(u) < 0.8)).astype(float)
        col = col * (1 - 0.5 * dash[..., None])
        fogc = (depth * 0.8) * rgb(60, 60, 110)
        img = over(img, col + fogc, m)
        rim = np.clip(1 - np.abs(u - 0.85) / 0.12, 0, 1) * m
        img = img + rim[..., None] * rgb(120, 200, 255) * 0.5

    # alder leaves and catkins along the top
    leaves = np.zeros_like(x)
    for _ in range(70):
        lx, ly = rng.uniform(0, W), rng.uniform(-10, 120) * ss
        r = rng.uniform(6, 11) * ss
        stamp_ellipse(leaves, lx, ly, r, r * 0.85, soft=ss,
                      angle=rng.uniform(0, 3))
    img = over(img, rgb(26, 58, 44) * (0.8 + 0.4 * fog[..., None]), leaves)
    cat = np.zeros_like(x)
    for _ in range(16):
        cx_, cy_ = rng.uniform(10, w - 10) * ss, rng.uniform(40, 130) * ss
        stamp_ellipse(cat, cx_, cy_, 2.2 * ss, 9 * ss, soft=ss,
                      angle=rng.uniform(-0.3, 0.3))
    img = img + glow(cat, AMBER, 3 * ss, 0.6)
    img = over(img, rgb(220, 150, 60), cat)

    # ground and a pool of water
    gy = H * 0.80
    ground = np.clip((y - gy) / ss, 0, 1)
    img = over(img, _mix(rgb(26, 30, 34), rgb(10, 10, 18), (y - gy) / (H * 0.2)),
               ground)
    pool = ellipse(x, y, W * 0.5, H * 0.93, W * 0.42, H * 0.05, soft=2 * ss)
    ripple = np.sin(y / (2.2 * ss) + 2.5 * np.sin(x / (37.0 * ss))) > 0.8
    img = over(img, rgb(20, 30, 70) + 0.18 * CYAN * ripple[..., None],
               pool * 0.8)

    # the crab
    cx, cy = W * 0.5, H * 0.80
    crab = np.zeros_like(x)
    legs = np.zeros_like(x)
    for side in (-1, 1):
        for k in range(4):
            a0x = cx + side * (40 + 8 * k) * ss
            a0y = cy + (-6 + 8 * k) * ss
            kx = a0x + side * (26 + 2 * k) * ss
            ky = a0y - (18 - 6 * k) * ss
            fx = kx + side * (14 + 3 * k) * ss
            fy = cy + (34 + 4 * k) * ss
            legs = np.maximum(legs, polyline(x, y, [(a0x, a0y), (kx, ky),
                                                    (fx, fy)], 6 * ss, soft=ss))
        # claw arm and pincer raised
        ax, ay = cx + side * 52 * ss, cy - 22 * ss
        ex, ey = cx + side * 78 * ss, cy - 62 * ss
        legs = np.maximum(legs, polyline(x, y, [(cx + side * 30 * ss, cy - 10 * ss),
                                                (ax, ay), (ex, ey)], 10 * ss,
                                         soft=ss))
        claw = ellipse(x, y, ex + side * 6 * ss, ey - 22 * ss, 18 * ss, 26 * ss,
                       soft=ss, angle=side * 0.35)
        notch = polygon(W, H, [(ex + side * 6 * ss, ey - 22 * ss),
                               (ex + side * 2 * ss, ey - 54 * ss),
                               (ex + side * 26 * ss, ey - 46 * ss)], ss=1)
        crab = np.maximum(crab, np.clip(claw - notch, 0, 1))
    body = ellipse(x, y, cx, cy, 56 * ss, 36 * ss, soft=ss)
    crab = np.maximum.reduce([crab, body, legs])
    img = img + glow(crab, rgb(255, 60, 40), 12 * ss, 0.9)
    shellc = _mix(rgb(255, 120, 70), rgb(150, 20, 20), (y - (cy - 40 * ss)) / (90 * ss))
    img = over(img, shellc * 0.85, legs)
    img = over(img, shellc, np.maximum(crab - legs, 0))
    img = over(img, rgb(255, 220, 190),
               blur(ellipse(x, y, cx - 18 * ss, cy - 18 * ss, 20 * ss, 7 * ss,
                            soft=ss, angle=-0.2), 3 * ss) * 0.6 * body)
    # eyes on stalks
    for side in (-1, 1):
        st = segment(x, y, cx + side * 12 * ss, cy - 30 * ss, cx + side * 18 * ss,
                     cy - 52 * ss, 4 * ss, soft=ss)
        img = over(img, rgb(200, 60, 40), st)
        eye = ellipse(x, y, cx + side * 18 * ss, cy - 55 * ss, 7 * ss, 7 * ss, soft=ss)
        img = over(img, rgb(20, 8, 20), eye)
        img = over(img, rgb(255, 255, 255),
                   ellipse(x, y, cx + side * 16 * ss, cy - 57 * ss, 2.2 * ss,
                           2.2 * ss, soft=ss))
    # reflection of the crab in the pool
    refl = np.flipud(crab)
    shift = int(round(2 * cy - H * 1.69))
    refl = np.roll(refl, -shift, axis=0) if shift else refl
    img = img + (refl * pool)[..., None] * rgb(255, 60, 40) * 0.25
    img = tonemap(downsample(img, ss))
    return to_u8(img), [], [(w // 2, int(h * 0.80))]


def lumova3():
    """Slot 8, 64x64 JPEG: a small portrait the demo loads but never shows."""
    w, h = 64, 64
    W, H = w * SS, h * SS
    x, y = grid(W, H)
    img = _mix(DUSK, NIGHT, np.hypot(x - W / 2, y - H / 2) / (W * 0.6))
    img, _ = paint_lumova(img, x, y, W / 2, H * 0.62, 22 * SS, pose="idle",
                          look=(-0.3, 0.0))
    img = _finish(img)
    return to_u8(img), [], [(w // 2, int(h * 0.6))]


def the_end():
    """Slot 9, 540x200 JPEG, black-keyed: the end title, dripping blood."""
    w, h = 540, 200
    ss = 2
    W, H = w * ss, h * ss
    x, y = grid(W, H)
    rng = np.random.default_rng(1009)
    t = text_mask(W, H, "THE END", FONT_SERIF_BOLD, 78 * ss, W / 2, 84 * ss,
                  ss=2, spacing=5 * ss)
    # drips running from the bottom of the letters
    rows = np.nonzero(t.max(axis=1) > 0.5)[0]
    bottom = rows.max()
    drips = np.zeros_like(x)
    cols = np.nonzero(t[bottom - 2 * ss] > 0.5)[0]
    picks = rng.choice(cols, size=min(14, len(cols)), replace=False)
    for cxp in sorted(picks):
        # the drip starts at the lowest ink in that column
        inked = np.nonzero(t[:, cxp] > 0.5)[0]
        y0 = inked.max() - 3 * ss
        ln = rng.uniform(12, 60) * ss
        wd = rng.uniform(2.2, 4.0) * ss
        drips = np.maximum(drips, segment(x, y, cxp, y0, cxp, y0 + ln, wd,
                                          soft=ss))
        drips = np.maximum(drips, ellipse(x, y, cxp, y0 + ln + wd * 0.6,
                                          wd * 0.95, wd * 1.25, soft=ss))
    shape = np.maximum(t, drips)
    img = np.zeros((H, W, 3))
    img = img + glow(shape, rgb(255, 30, 60), 6 * ss, 1.0)
    img = img + glow(shape, MAGENTA, 18 * ss, 0.45)
    fill = _mix(rgb(255, 70, 85), rgb(150, 0, 20), (y - 40 * ss) / (110 * ss))
    img = over(img, fill, shape)
    core = erode(t, 3 * ss)
    img = over(img, rgb(255, 200, 205), core * 0.2)
    img = over(img, rgb(255, 255, 255),
               blur(t * (np.abs(y - 62 * ss) < 2 * ss), 1.0 * ss) * 0.5)
    img = tonemap(downsample(img, ss))
    solid = downsample(shape, ss)
    out = keyed_u8(img, solid)
    # the subject point lies on the stem of the T
    return out, [(0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)], [(75, 85)]


def lumova():
    """Slot 10, 160x160 JPEG, black-keyed: Lumova leaping."""
    w, h = 160, 160
    W, H = w * SS, h * SS
    x, y = grid(W, H)
    img = np.zeros((H, W, 3))
    # speed streaks trailing to the right (it leaps from right to left)
    streaks = np.zeros_like(x)
    for k, (sy, ln) in enumerate([(62, 40), (80, 52), (98, 44), (114, 30)]):
        streaks = np.maximum(streaks, segment(x, y, 112 * SS, sy * SS,
                                              (112 + ln) * SS, (sy + 6) * SS,
                                              2.0 * SS, soft=SS)
                             * (1 - 0.5 * (x - 112 * SS).clip(0) / (ln * SS)))
    img = img + glow(streaks, CYAN, 2 * SS, 0.8)
    img = over(img, rgb(150, 240, 255), streaks)
    img, solid = paint_lumova(img, x, y, 74 * SS, 88 * SS, 46 * SS,
                              pose="leap", look=(-0.8, -0.5), tilt=-0.25,
                              glow_amount=0.6)
    img = _finish(img)
    solid = np.maximum(downsample(solid, SS), downsample(streaks, SS))
    out = keyed_u8(img, solid, cut=24)
    return out, [(0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)], [(74, 88)]


def blood():
    """Slot 11, 24x24 PNG, black-keyed: one drop of blood."""
    w, h = 24, 24
    ss = 8
    W, H = w * ss, h * ss
    x, y = grid(W, H)
    ball = ellipse(x, y, 12 * ss, 15.5 * ss, 7 * ss, 7 * ss, soft=ss)
    tip = polygon(W, H, [(12 * ss, 1.5 * ss), (18.2 * ss, 12.5 * ss),
                         (5.8 * ss, 12.5 * ss)], ss=1)
    drop = np.maximum(ball, tip)
    d = np.hypot(x - 10 * ss, y - 13 * ss) / (10 * ss)
    img = _mix(rgb(235, 30, 40), BLOOD * 0.55, d)[...] * drop[..., None]
    img = over(img, rgb(255, 200, 200),
               ellipse(x, y, 9.5 * ss, 13.5 * ss, 1.6 * ss, 2.6 * ss, soft=ss,
                       angle=0.4) * 0.85)
    img = downsample(img, ss)
    solid = downsample(drop, ss)
    out = keyed_u8(img, solid, floor=24, margin=0)
    return out, [(0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)], [(12, 15)]


# slot order, file name, painter, saved format, colour-keyed
CATALOGUE = [
    ("lumovalogo.gif", lumovalogo, "gif", False),
    ("lumova1.gif", lumova1, "gif", False),
    ("mystikko.gif", mystikko, "gif", True),
    ("blaa.gif", blaa, "gif", True),
    ("vors3.jpg", vors3, "jpg", False),
    ("lumova2.jpg", lumova2, "jpg", True),
    ("metsa.jpg", metsa, "jpg", False),
    ("lepikkorapu.jpg", lepikkorapu, "jpg", False),
    ("lumova3.jpg", lumova3, "jpg", False),
    ("the_end.jpg", the_end, "jpg", True),
    ("lumova.jpg", lumova, "jpg", True),
    ("blood.png", blood, "png", True),
]
