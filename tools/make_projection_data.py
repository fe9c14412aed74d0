#!/usr/bin/env python3
"""Writes the projection data shipped in examples/INI: the definition file Projections.DEF, computed from
PROJ's own definitions of the EPSG codes (projinfo), the NTF -> RGF93 translation grid as a GR3D1 text grid
made from the mapping agency's ntf_r93.gsb (cct), a synthetic ".MNT" translation grid with linear values,
and a height grid over France sampled from PROJ's egm96_15.gtx (cct), in both of its layouts.

Needs proj-bin and proj-data. Usage: tools/make_projection_data.py [output folder]"""
import math
import os
import subprocess
import sys

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "examples", "INI")

# Semi-major axis and flattening (or semi-minor axis) of the ellipsoids used.
GRS80 = (6378137.0, 1 / 298.257222101)
WGS84 = (6378137.0, 1 / 298.257223563)
CLARKE_IGN_A, CLARKE_IGN_B = 6378249.2, 6356515.0

PARIS_MERIDIAN = "2.33722917"  # degrees (2.5969213 grads)
CLARKE_SHIFT = (-168.0, -60.0, 320.0)

# The nodes of ntf_r93.gsb (degrees), on which its shifts are turned into geocentric translations.
NTF_LON = (-5.5, 10.0, 0.1)
NTF_LAT = (41.0, 52.0, 0.1)
# The synthetic ".MNT" translation grid: gentle linear slopes (metres per degree) around the default shift,
# so that bilinear interpolation is exact and a datum shift and its inverse meet within a millimetre.
GRID_LON = (-5.5, 10.0, 0.5)
GRID_LAT = (41.0, 52.0, 0.5)
SLOPES = ((0.02, 0.01), (-0.015, 0.005), (0.01, -0.02))
# The height grid over France, on the nodes of egm96_15 (a quarter of a degree).
HEIGHT_LON = (-5.5, 10.0, 0.25)
HEIGHT_LAT = (41.0, 51.5, 0.25)


def eccentricity_from_flattening(f):
    return math.sqrt(2 * f - f * f)


def eccentricity_from_axes(a, b):
    return math.sqrt(1 - (b / a) ** 2)


def proj_parameters(code):
    text = subprocess.run(["projinfo", "-o", "PROJ", "-q", f"EPSG:{code}"], check=True, capture_output=True,
                          text=True).stdout.strip().splitlines()[-1]
    params = {}
    for word in text.split():
        key, _, value = word.lstrip("+").partition("=")
        params[key] = value
    return params


def isometric_latitude(phi, e):
    es = e * math.sin(phi)
    return math.log(math.tan(math.pi / 4 + phi / 2) * ((1 - es) / (1 + es)) ** (e / 2))


def prime_vertical_radius(a, e, phi):
    return a / math.sqrt(1 - (e * math.sin(phi)) ** 2)


def lambert_constants(params, a, e):
    """n, C, Xs and Ys of a Lambert conformal conic from its PROJ parameters."""
    phi0 = math.radians(float(params["lat_0"]))
    l0 = isometric_latitude(phi0, e)
    if "lat_2" in params and params["lat_2"] != params["lat_1"]:
        phi1, phi2 = math.radians(float(params["lat_1"])), math.radians(float(params["lat_2"]))
        m1 = prime_vertical_radius(a, e, phi1) * math.cos(phi1)
        m2 = prime_vertical_radius(a, e, phi2) * math.cos(phi2)
        l1, l2 = isometric_latitude(phi1, e), isometric_latitude(phi2, e)
        n = math.log(m2 / m1) / (l1 - l2)
        c = m1 * math.exp(n * l1) / n
    else:
        n = math.sin(phi0)
        c = prime_vertical_radius(a, e, phi0) / math.tan(phi0) * math.exp(n * l0)
    # The scale (of one standard parallel, or of the ellipsoid in the Michigan variant of two) scales the cone.
    c *= float(params.get("k_0", "1"))
    xs = float(params["x_0"])
    ys = float(params["y_0"]) + c * math.exp(-n * l0)
    return n, c, xs, ys


def number(value):
    return repr(float(value))


def definition_file():
    e_grs80 = eccentricity_from_flattening(GRS80[1])
    e_wgs84 = eccentricity_from_flattening(WGS84[1])
    e_clarke = eccentricity_from_axes(CLARKE_IGN_A, CLARKE_IGN_B)
    shift = ", ".join(number(v) for v in CLARKE_SHIFT)
    lines = [
        "' Projections of the Zorta examples, written by tools/make_projection_data.py from PROJ's definitions.",
        "' Ellipsoid = a, e, tx, ty, tz[, translation grid]   Projection = ellipsoid, p0, p1, p2, p3, p4",
        "[ELLIPSOIDES]",
        f"GRS80 = {number(GRS80[0])}, {number(e_grs80)}, 0, 0, 0",
        f"WGS84 = {number(WGS84[0])}, {number(e_wgs84)}, 0, 0, 0",
        f"CLARKE80IGN = {number(CLARKE_IGN_A)}, {number(e_clarke)}, {shift}, GR3D_ZORTA.TXT",
        f"CLARKE80MNT = {number(CLARKE_IGN_A)}, {number(e_clarke)}, {shift}, TRANSLAT_ZORTA.MNT",
        "[PROJECTIONS]",
        "VERSION = 1",
        "MERIDIEN = 0",
    ]
    codes = []

    def lambert(name, code, ellipsoid, a, e):
        params = proj_parameters(code)
        n, c, xs, ys = lambert_constants(params, a, e)
        lines.append(f"{name} = {ellipsoid}, {number(params['lon_0'])}, {number(n)}, {number(c)}, {number(xs)}, "
                     f"{number(ys)}")
        codes.append((name.split(":")[0] + ":", code))

    lambert("L-93 : Lambert 93", 2154, "GRS80", GRS80[0], e_grs80)
    for zone in range(1, 10):
        lambert(f"LZ93-CC{41 + zone}: Zone {zone}", 3941 + zone, "GRS80", GRS80[0], e_grs80)
    lines.append("UTM31N: WGS 84 UTM 31 Nord = WGS84, 3, 0.9996, 0, 0, 0")
    codes.append(("UTM31N:", 32631))
    lines.append("UTM31S: WGS 84 UTM 31 Sud = WGS84, 3, -0.9996, 0, 0, 0")
    codes.append(("UTM31S:", 32731))
    lines.append("MERC-WEB: Web Mercator = WGS84, 0, 0, 0, 0, 0")
    codes.append(("MERC-WEB:", 3857))
    lines.append(f"GEO-WGS84: WGS 84 en degres = WGS84, 0, {number(math.pi / 180)}, 0, 0, 0")
    codes.append(("GEO-WGS84:", 4326))
    lines.append("ENU: Repere local = WGS84, 0, 0, 0")
    lines.append("CH1903+: Suisse MN95 = WGS84, 0, 0, 0, 0, 0")
    lines.append(f"MERIDIEN = {PARIS_MERIDIAN}")
    lambert("L-IIE: Lambert II etendu", 27572, "CLARKE80IGN", CLARKE_IGN_A, e_clarke)
    lines.append("MERIDIEN = 0")
    lines.append("[EPSG]")
    lines += [f"{name} = {code}" for name, code in codes]
    return "\r\n".join(lines) + "\r\n"


def axis(first, last, step):
    count = int(round((last - first) / step)) + 1
    return [first + k * step for k in range(count)]


def synthetic_translation(lon, lat):
    return [CLARKE_SHIFT[k] + SLOPES[k][0] * (lon - 2) + SLOPES[k][1] * (lat - 47) for k in range(3)]


def geocentric(lon, lat, h, a, e):
    lam, phi = math.radians(lon), math.radians(lat)
    n = prime_vertical_radius(a, e, phi)
    r = (n + h) * math.cos(phi)
    return (r * math.cos(lam), r * math.sin(lam), (n * (1 - e * e) + h) * math.sin(phi))


def ntf_translations():
    """At each node of ntf_r93.gsb, the geocentric translation that takes the NTF point (height 0 on Clarke
    1880 IGN) to the RGF93 point the grid shifts it to. The grid fixes the horizontal shift only: of the
    translations that give it, the one nearest the default translation is taken, as the mapping agency's
    GR3D grid lies about it."""
    lons, lats = axis(*NTF_LON), axis(*NTF_LAT)
    nodes = [(lon, lat) for lon in lons for lat in lats]
    out = subprocess.run(["cct", "-d", "12", "+proj=hgridshift", "+grids=ntf_r93.gsb"],
                         input="".join(f"{lon} {lat} 0\n" for lon, lat in nodes), check=True,
                         capture_output=True, text=True).stdout.split("\n")
    shifted = [tuple(float(v) for v in line.split()[:2]) for line in out if line.strip()]
    e_grs80 = eccentricity_from_flattening(GRS80[1])
    e_clarke = eccentricity_from_axes(CLARKE_IGN_A, CLARKE_IGN_B)
    translations = []
    for (lon, lat), (lon2, lat2) in zip(nodes, shifted):
        source = geocentric(lon, lat, 0, CLARKE_IGN_A, e_clarke)
        target = geocentric(lon2, lat2, 0, GRS80[0], e_grs80)
        lam, phi = math.radians(lon2), math.radians(lat2)
        up = (math.cos(phi) * math.cos(lam), math.cos(phi) * math.sin(lam), math.sin(phi))
        t = [target[k] - source[k] for k in range(3)]
        h = sum((CLARKE_SHIFT[k] - t[k]) * up[k] for k in range(3))
        translations.append((lon, lat, [t[k] + h * up[k] for k in range(3)]))
    return translations


def gr3d_grid():
    lines = ["GR3D  NTF -> RGF93, from ntf_r93.gsb", "GR3D1  " + "  ".join(
        f"{v:.4f}" for v in (NTF_LON[0], NTF_LON[1], NTF_LAT[0], NTF_LAT[1], NTF_LON[2], NTF_LAT[2]))]
    for node, (lon, lat, t) in enumerate(ntf_translations(), 1):
        lines.append(f"{node:05d}   {lon:13.9f}   {lat:13.9f}  {t[0]:9.3f}  {t[1]:9.3f}  {t[2]:9.3f}  99  -0158")
    return "\r\n".join(lines) + "\r\n"


def mnt_translation_grid():
    header = f"{GRID_LON[0]} {GRID_LON[1]} {GRID_LAT[0]} {GRID_LAT[1]} {GRID_LON[2]} {GRID_LAT[2]} 0 0 3 0"
    lines = [header]
    for lon in axis(*GRID_LON):  # column by column, each from the southern row up
        for lat in axis(*GRID_LAT):
            lines.append(" ".join(f"{v:.3f}" for v in synthetic_translation(lon, lat)))
    return "\n".join(lines) + "\n"


def geoid_heights():
    """The egm96_15 geoid height at every node of the France extract, by PROJ's vertical grid shift."""
    lons, lats = axis(*HEIGHT_LON), axis(*HEIGHT_LAT)
    points = "".join(f"{lon} {lat} 0\n" for lat in lats for lon in lons)
    out = subprocess.run(["cct", "-d", "4", "+proj=vgridshift", "+grids=egm96_15.gtx", "+multiplier=1"],
                         input=points, check=True, capture_output=True, text=True).stdout.split("\n")
    values = [float(line.split()[2]) for line in out if line.strip()]
    return {(lat, lon): values[r * len(lons) + c] for r, lat in enumerate(lats) for c, lon in enumerate(lons)}


def height_grids():
    heights = geoid_heights()
    lons, lats = axis(*HEIGHT_LON), axis(*HEIGHT_LAT)
    bounds = f"{HEIGHT_LON[0]} {HEIGHT_LON[1]} {HEIGHT_LAT[0]} {HEIGHT_LAT[1]} {HEIGHT_LON[2]} {HEIGHT_LAT[2]}"
    # Stream layout: one value per node, rows from the north down, each from west to east.
    stream = [bounds + " 0 0 0 0"]
    for lat in reversed(lats):
        stream.append(" ".join(f"{heights[(lat, lon)]:.4f}" for lon in lons))
    # One node per line: latitude, longitude, value and a node number.
    per_line = [bounds + " 0 1 0 0"]
    per_line += [f"{lat} {lon} {heights[(lat, lon)]:.4f} {k}" for k, (lat, lon) in
                 enumerate((lat, lon) for lat in lats for lon in lons)]
    return "\n".join(stream) + "\n", "\n".join(per_line) + "\n"


def write(name, text):
    with open(os.path.join(OUT, name), "w", newline="") as file:
        file.write(text)


def main():
    os.makedirs(OUT, exist_ok=True)
    write("Projections.DEF", definition_file())
    write("GR3D_ZORTA.TXT", gr3d_grid())
    write("TRANSLAT_ZORTA.MNT", mnt_translation_grid())
    stream, per_line = height_grids()
    write("EGM96_FRANCE.MNT", stream)
    write("EGM96_FRANCE_L.MNT", per_line)


if __name__ == "__main__":
    main()
