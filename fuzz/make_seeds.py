#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora. Bitmaps: one small, valid file for every layout the
reader accepts (each depth, each header size, both row orders, bit fields), so the fuzzer starts
past the headers. Text: the game's own screen texts in code page 932, each followed by the bytes
the target reads its font, position and colours from (it takes those from the end). Options:
command lines (each word ended by a NUL) and settings files (after a 0xFF byte), good and bad.
The device seeds are draws of the game's title screen, written from a capture of its device
calls by the program that reads captures (run in assets/):
  tirravel-bench capture ../bench/scenarios/title.replay title FILE
  tirravel-bench fuzz-seeds FILE ../fuzz/corpus/device
The files named by their SHA-1 beside the seeds are what long fuzzing runs added that reached
something new (kept with libFuzzer's -merge=1); this script leaves them alone.
Run: fuzz/make_seeds.py"""
import os
import struct

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def rows(width, height, bits, seed):
    stride = (width * bits + 31) // 32 * 4
    return bytes((seed * 37 + i * 11) & 0xFF for i in range(stride * height))


def info_header(size, width, height, bits, compression=0, colours=0):
    header = struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression,
                         0, 2835, 2835, colours, 0)
    return header + bytes(size - 40)


def bitmap(header, table, pixels, masks=b""):
    offset = 14 + len(header) + len(masks) + len(table)
    body = header + masks + table + pixels
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, offset) + body


def palette(count, entry=4):
    return b"".join(bytes([i * 3 & 0xFF, i * 5 & 0xFF, i * 7 & 0xFF, 0][:entry])
                    for i in range(count))


def put_masks(header, masks):
    """Bit-field masks sit right after the first 40 header bytes."""
    packed = struct.pack("<" + "I" * len(masks), *masks)
    return header[:40] + packed + header[40 + len(packed):]


def bitmap_seeds():
    yield "indexed1", bitmap(info_header(40, 9, 4, 1), palette(2), rows(9, 4, 1, 1))
    yield "indexed4", bitmap(info_header(40, 5, 3, 4), palette(16), rows(5, 3, 4, 2))
    yield "indexed8", bitmap(info_header(40, 7, 5, 8), palette(256), rows(7, 5, 8, 3))
    yield "indexed8_short_table", bitmap(info_header(40, 6, 2, 8, colours=20), palette(20),
                                         rows(6, 2, 8, 4))
    yield "top_down24", bitmap(info_header(40, 3, -3, 24), b"", rows(3, 3, 24, 5))
    yield "rgb555", bitmap(info_header(40, 4, 3, 16), b"", rows(4, 3, 16, 6))
    yield "rgb565_bitfields", bitmap(info_header(40, 5, 2, 16, compression=3), b"",
                                     rows(5, 2, 16, 7), struct.pack("<III", 0xF800, 0x7E0, 0x1F))
    yield "rgb24", bitmap(info_header(40, 4, 4, 24), b"", rows(4, 4, 24, 8))
    yield "xrgb32", bitmap(info_header(40, 3, 2, 32), b"", rows(3, 2, 32, 9))
    yield "core8", bitmap(struct.pack("<IHHHH", 12, 4, 3, 1, 8), palette(256, 3),
                          rows(4, 3, 8, 10))
    yield "core24", bitmap(struct.pack("<IHHHH", 12, 2, 2, 1, 24), b"", rows(2, 2, 24, 11))
    for size in (52, 56, 108, 124):
        header = put_masks(info_header(size, 3, 3, 32, compression=3),
                           (0xFF0000, 0xFF00, 0xFF, 0xFF000000)[:3 if size == 52 else 4])
        yield "argb32_header%d" % size, bitmap(header, b"", rows(3, 3, 32, size))


TEXTS = {
    "speed": "SPEED 50",
    "time": "TIME      123",
    "give_up": "SHIFT\u3092\u62bc\u3059\u3068\u30ae\u30d6\u308c\u307e\u3059",
    "controls": "\u2190\u2192\u3000\u65b9\u5411\u3092\u5909\u66f4\u3057\u307e\u3059",
    "half_width": "\uff8a\uff9e\uff80\uff8e\uff9d",
    "control_codes": "A\tB\nC\x7f",
}


def text_seeds():
    for index, (name, text) in enumerate(sorted(TEXTS.items())):
        # Font, mode, colour and position bytes; the last one picks the surface.
        tail = bytes((index * 29 + i * 13) & 0xFF for i in range(24)) + bytes([index])
        yield name, text.encode("cp932") + tail
    yield "lone_lead_byte", b"\x82" + bytes(range(40, 64))


def options(words, settings=None):
    line = b"".join(word.encode() + b"\0" for word in words)
    return line if settings is None else line + b"\xff" + settings.encode()


def options_seeds():
    yield "nothing", options([])
    yield "help", options(["--help"])
    yield "short_help_and_version", options(["-h", "--version"])
    yield "every_option", options(["--window", "--scale", "2.25", "--view=wide", "--rate",
                                   "display", "--verbose=false"])
    yield "native_and_game_arguments", options(["first", "--scale=native", "two words", "",
                                                "--", "--scale", "-"])
    yield "settings", options(["--window=false"],
                              "# my display\r\n\n  scale = 3   # sharper\r\nview=wide\n"
                              "window = true\nrate = 60\nverbose = false\n")
    yield "threads", options(["--threads", "2", "--threads=16"], "threads = 3\n")
    yield "unknown_option", options(["--fast", "-x"])
    yield "missing_value", options(["--scale", "--window"])
    yield "bad_values", options(["--scale", "1e0", "--view", "16:9", "--help=1"])
    yield "bad_setting", options([], "scale = 2\n\nscale 2\nhelp = true\n")


def write(folder, extension, seeds):
    os.makedirs(os.path.join(CORPUS, folder), exist_ok=True)
    for name, data in seeds:
        with open(os.path.join(CORPUS, folder, name + extension), "wb") as f:
            f.write(data)


def main():
    write("bitmap", ".bmp", bitmap_seeds())
    write("text", ".bin", text_seeds())
    write("options", ".bin", options_seeds())


if __name__ == "__main__":
    main()
