#!/usr/bin/env python3
"""Makes the demo: a map bitmap of an imaginary valley, a small simulator folder and a project
drawn on the map. Paths in the project are relative to the project file's folder (examples/),
so the demo opens and generates from any working folder; --absolute writes them in full instead.
Generate writes the demo's outputs into examples/out/.

    python3 examples/make_demo.py [--absolute]
"""
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, "tests", "fixtures"))
from lwm import Project, bmp8, default_attr  # noqa: E402

W, H = 800, 600
LAT_N, LON_W, LAT_S, LON_E = 45.5, 5.25, 45.2, 5.7


def win(p):
    return p.replace("/", "\\")


def base(rel):
    # Relative paths keep "/", the style every other path on this system is shown in.
    return win(os.path.join(HERE, rel)) if "--absolute" in sys.argv else rel


# ----- the map: land in greens, a lake, a river, a road ---------------------------------------
palette = [(0, 0, 0)] * 256
palette[1] = (70, 130, 60)     # meadow
palette[2] = (40, 100, 45)     # forest
palette[3] = (60, 110, 200)    # water
palette[4] = (200, 190, 170)   # road
palette[5] = (150, 150, 150)   # village


def river_y(x):
    return 420 + 40 * math.sin(x / 90.0)


def pixel(x, y):
    if (x - 250) ** 2 / 110 ** 2 + (y - 200) ** 2 / 70 ** 2 <= 1:
        return 3
    if abs(y - river_y(x)) < 6:
        return 3
    if abs(y - (0.5 * x + 60)) < 3:
        return 4
    if 560 < x < 640 and 120 < y < 190:
        return 5
    return 2 if (x // 40 + y // 40) % 3 == 0 else 1


os.makedirs(HERE, exist_ok=True)
with open(os.path.join(HERE, "Demo.bmp"), "wb") as f:
    f.write(bmp8(W, H, pixel, palette))

# ----- a small simulator folder ---------------------------------------------------------------
terrain = """// Terrain texture definitions of the demo simulator folder.
[TEXTURE.1024]  // Road, one lane (the type a new line starts with)
TYPE=2
SIZE=4
TEXTURES=RoadSU.bmp
[TEXTURE.1026]  // Road, two lanes
TYPE=2
SIZE=6
TEXTURES=RoadSU.bmp
[TEXTURE.1134]  // Railway
TYPE=3
SIZE=5
TEXTURES=RailSU.bmp
[TEXTURE.1190]  // Airport grass
[TEXTURE.1205]  // Park
TEXTURES=ParkSU.bmp
[TEXTURE.2000]  // Sea shore
TEXTURES=ShoreSU.bmp
"""
os.makedirs(os.path.join(HERE, "sim", "Scenery", "world", "Texture"), exist_ok=True)
with open(os.path.join(HERE, "sim", "Terrain.cfg"), "wb") as f:
    f.write(terrain.replace("\n", "\r\n").encode("cp1252"))

# ----- the project ----------------------------------------------------------------------------
LOD8_LAT, LOD8_LON = 0.3515625, 0.46875
LOD13_LAT, LOD13_LON = LOD8_LAT / 32, LOD8_LON / 32


def cell_lat(lat):
    r = int((90 - lat) // LOD8_LAT)
    return r, int(((90 - r * LOD8_LAT) - lat) // LOD13_LAT)


def cell_lon(lon):
    c = int((lon + 180) // LOD8_LON)
    return c, int((lon - (c * LOD8_LON - 180)) // LOD13_LON)


def lat_of(y):
    return LAT_N + (LAT_S - LAT_N) * y / (H - 1)


def lon_of(x):
    return LON_W + (LON_E - LON_W) * x / (W - 1)


def y_of(lat):
    return (lat - LAT_N) * (H - 1) / (LAT_S - LAT_N)


def x_of(lon):
    return (lon - LON_W) * (W - 1) / (LON_E - LON_W)


nw_r, nw_sr = cell_lat(LAT_N)
nw_c, nw_sc = cell_lon(LON_W)
se_r, se_sr = cell_lat(LAT_S)
se_c, se_sc = cell_lon(LON_E)
# The grid frame: the LOD13 lines just inside the map.
north = 90 - nw_r * LOD8_LAT - (nw_sr + 1) * LOD13_LAT
west = nw_c * LOD8_LON - 180 + (nw_sc + 1) * LOD13_LON
south = 90 - se_r * LOD8_LAT - se_sr * LOD13_LAT
east = se_c * LOD8_LON - 180 + se_sc * LOD13_LON
fn_r, fn_sr = cell_lat(north - 1e-9)
fw_c, fw_sc = cell_lon(west + 1e-9)
fs_r, fs_sr = cell_lat(south + 1e-9)
fe_c, fe_sc = cell_lon(east - 1e-9)

p = Project()
p.frame = [LAT_N, LON_W, LAT_S, LON_E, LAT_N, LON_W, LAT_S, LON_E, north, west, south, east]
p.raw_dir = base("out/")
p.scenery_dir = base("out")
p.map_file = base("Demo.bmp")
p.map_w, p.map_h = W, H
p.bgl_base = base("out/Demo.bgl")
p.bgl_excl = base("out/Demo_Excl.bgl")
p.cells = [nw_r, nw_c, se_r, se_c, nw_sr, nw_sc, se_sr, se_sc,
           fn_sr, fn_r, fw_sc, fw_c, fs_sr, fs_r, fe_sc, fe_c]
p.px = [0, 0, W - 1, H - 1, round(x_of(west), 4), round(y_of(north), 4), round(x_of(east), 4), round(y_of(south), 4)]
p.nw_set, p.se_set = 1, 1
p.tiles = [1, 1, 1]

lake = [(250 + 110 * math.cos(t / 12 * 2 * math.pi), 200 + 70 * math.sin(t / 12 * 2 * math.pi)) for t in range(12)]
river = [(float(x), round(river_y(x), 2)) for x in range(0, W, 50)] + [(799.0, round(river_y(799), 2))]
road = [(0.0, 60.0), (300.0, 210.0), (799.0, 459.5)]
p.lines = [
    (2, default_attr(Text_Rt="Lake", Attrib=0, Alti=412.0, SurfShore=1, FermerLine=1, Type_Code=2000,
                     Largeur=4, Layer=22, Layer_Vtp2=17), [(round(x, 2), round(y, 2)) for x, y in lake]),
    (3, default_attr(Text_Rt="River", Attrib=0, SurfShore=2, Type_Code=2000, Largeur=12, Layer=21,
                     Meter_Feet=0), river),
    (4, default_attr(Text_Rt="Valley road", Attrib=1, SurfShore=2, Type_Code=1026, Largeur=8, Layer=21,
                     Drive_Right=1, Line_Night=1), road),
]
p.line_id_counter = 4
p.lwm = [{"numbers": [-9999.0, 1, fw_sc + 2, fn_sr + 2, fw_c, fn_r, 0, 0, 0, 0, 0, 9, 0],
          "names": [""] * 6, "text": "Meadow"}]
flags = [0] * 101
flags[4] = 1
p.excl = [([fw_c, fn_r, fw_sc + 5, fn_sr + 3], flags)]
p.lod8 = [[-9999.0, 1, fw_c, fn_r]]
p.lc = [[fw_c, fn_r, fw_sc + 8, fn_sr + 4, 17]]
p.wc = [[fw_c, fn_r, fw_sc + 3, fn_sr + 6, 4]]
p.grid = [(412.0, 250.0, 200.0), (450.0, 400.0, 300.0), (520.0, 600.0, 150.0)]
with open(os.path.join(HERE, "Demo.LWM"), "wb") as f:
    f.write(p.text(base("Demo.LWM")))
print("wrote", os.path.join(HERE, "Demo.LWM"))
