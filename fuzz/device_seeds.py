"""Seeds for the device fuzzer: a few of the title screen's draws, read from a capture of the
game's device calls (bench/capture/capture.h) and written in the fuzzer's format
(fuzz/device_input.h). Every value is written in its exact form (the tag for four raw bytes), so
the fuzzer draws what the game drew."""
import struct

MAGIC = b"TIRRAVEL-CAPTURE 1\n"
RENDER, LIGHT, TRANSFORM, VIEWPORT, DRAW = range(5)
TEXTURE_HANDLE = 1
TRIANGLE_LIST, LINE_LIST = 4, 2
WORLD, VIEW, PROJECTION = 1, 2, 3
SEED_TEXTURE_SIZE = 16
TEXEL_BYTES = {0: 1, 5: 4, 6: 4}


class Capture:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        if not self.data.startswith(MAGIC):
            raise SystemExit(path + ": not a capture file")
        self.at = len(MAGIC)
        self.width, self.height = self.u32(), self.u32()
        self.textures = [self.texture() for _ in range(self.u32())]
        self.vertices = self.pool(32)
        self.matrices = self.pool(64)
        self.viewports = self.pool(44)
        self.frames = []
        for _ in range(self.u32()):
            clear = self.u32()
            self.frames.append((clear, [struct.unpack("<4I", c) for c in self.pool(16)]))

    def u32(self):
        value = struct.unpack_from("<I", self.data, self.at)[0]
        self.at += 4
        return value

    def pool(self, size):
        count = self.u32()
        records = [self.data[self.at + i * size:self.at + (i + 1) * size] for i in range(count)]
        self.at += count * size
        return records

    def texture(self):
        fmt, width, height, has_key, key = (self.u32() for _ in range(5))
        palette = [struct.unpack("<I", c)[0] for c in self.pool(4)]
        texels = b"".join(self.pool(1))
        return dict(format=fmt, width=width, height=height, key=key if has_key else None,
                    palette=palette, texels=texels)


def raw_word(value):
    return b"\xff" + struct.pack("<I", value)


def raw_float_bits(bits):
    return b"\xff" + bits


def floats(record):
    return b"".join(raw_float_bits(record[i:i + 4]) for i in range(0, len(record), 4))


def encode_texture(texture):
    """The texture scaled to 16 x 16 by taking every n-th texel, with its palette and key."""
    fmt = texture["format"]
    size = TEXEL_BYTES.get(fmt, 2)
    step_x = texture["width"] // SEED_TEXTURE_SIZE
    step_y = texture["height"] // SEED_TEXTURE_SIZE
    texels = bytearray()
    for y in range(SEED_TEXTURE_SIZE):
        for x in range(SEED_TEXTURE_SIZE):
            at = ((y * step_y) * texture["width"] + x * step_x) * size
            texels += texture["texels"][at:at + size]
    out = bytes([fmt, SEED_TEXTURE_SIZE - 1, SEED_TEXTURE_SIZE - 1])
    out += struct.pack("<H", len(texels)) + texels
    if fmt == 0:
        out += bytes([255]) + b"".join(bytes([c >> 16 & 255, c >> 8 & 255, c & 255])
                                       for c in texture["palette"][:255])
    key = texture["key"]
    return out + (bytes([1]) + raw_word(key) if key is not None else bytes([0]))


def encode_viewport(record):
    values = record[4:]  # past dwSize
    return b"".join(raw_word(v) for v in struct.unpack("<4I", values[:16])) + floats(values[16:])


def encode_command(capture, command):
    kind, a, b, c = command
    if kind == RENDER:
        value = bytes([1]) if a == TEXTURE_HANDLE and b == 1 else raw_word(b)
        return bytes([0, a]) + value
    if kind == LIGHT:
        return bytes([1, a]) + raw_word(b)
    if kind == TRANSFORM:
        return bytes([2, a, 1]) + floats(capture.matrices[b])
    if kind == VIEWPORT:
        return bytes([3]) + encode_viewport(capture.viewports[b])
    out = bytes([4, 0 if a == TRIANGLE_LIST else 1, c])
    for record in capture.vertices[b:b + c]:
        # Every field: x, y, z, diffuse, specular, tu, tv (the reserved word is left out).
        x, y, z, diffuse, specular, uv = (record[0:4], record[4:8], record[8:12],
                                          record[16:20], record[20:24], record[24:32])
        out += bytes([0x7F]) + floats(x + y + z)
        out += raw_word(struct.unpack("<I", diffuse)[0])
        out += raw_word(struct.unpack("<I", specular)[0])
        out += floats(uv)
    return out


def multiply(a, b):
    return [sum(a[r * 4 + k] * b[k * 4 + col] for k in range(4)) for r in range(4)
            for col in range(4)]


def clip_positions(capture, world, view, projection, draw):
    """Where the draw's vertices land in clip space (x, y, w)."""
    m = multiply(multiply(world, view), projection)
    positions = []
    for record in capture.vertices[draw[2]:draw[2] + draw[3]]:
        x, y, z = struct.unpack_from("<3f", record)
        positions.append(tuple(x * m[col] + y * m[4 + col] + z * m[8 + col] + m[12 + col]
                               for col in (0, 1, 3)))
    return positions


def in_sight(positions):
    """In front of the camera, some of it on the screen."""
    return (all(w > 0 for _, _, w in positions) and
            any(abs(x) < w and abs(y) < 0.75 * w for x, y, w in positions))


def crosses_near_plane(positions):
    return any(w > 0 for _, _, w in positions) and any(w <= 0 for _, _, w in positions)


class FrameSeed:
    """One frame's opening states, then the draws picked by `wanted` (with their transforms);
    nothing when no draw of the frame is wanted."""

    def __init__(self, capture, frame_index):
        self.capture = capture
        self.clear, self.commands = capture.frames[frame_index]

    def build(self, wanted, most_draws=8):
        capture = self.capture
        texture = capture.textures[0]
        out = encode_texture(texture) + struct.pack("<H", self.clear)
        viewports = [c for c in self.commands if c[0] == VIEWPORT]
        out += encode_viewport(capture.viewports[viewports[0][2]])
        matrices = {WORLD: None, VIEW: None, PROJECTION: None}
        pending_world = None
        draws = 0
        for command in self.commands:
            kind = command[0]
            if kind in (RENDER, LIGHT, VIEWPORT) or (kind == TRANSFORM and command[1] != WORLD):
                if draws == 0:
                    out += encode_command(capture, command)
                if kind == TRANSFORM:
                    matrices[command[1]] = struct.unpack("<16f", capture.matrices[command[2]])
            elif kind == TRANSFORM:
                pending_world = command
                matrices[WORLD] = struct.unpack("<16f", capture.matrices[command[2]])
            elif draws < most_draws and wanted(command, clip_positions(
                    capture, matrices[WORLD], matrices[VIEW], matrices[PROJECTION], command)):
                if pending_world is not None:
                    out += encode_command(capture, pending_world)
                    pending_world = None
                out += encode_command(capture, command)
                draws += 1
        return out if draws > 0 else None


def picked_draws(capture_path):
    capture = Capture(capture_path)
    frames = len(capture.frames)
    cell = capture.frames[0][1][[c[0] for c in capture.frames[0][1]].index(DRAW)][2]

    def is_cell(command):
        return command[0] == DRAW and command[2] in (cell, cell + 6)

    for index in (0, frames // 3, 2 * frames // 3):
        seed = FrameSeed(capture, index)
        seen = [0]

        def cells_in_sight(command, positions):
            # A cell and its outline in sight; three such pairs.
            if not is_cell(command) or not in_sight(positions):
                return False
            seen[0] += 1
            return seen[0] <= 6

        yield "title_cells_%d" % index, seed.build(cells_in_sight)
        if index != frames // 3:
            yield "title_wings_%d" % index, seed.build(
                lambda command, positions: not is_cell(command))
        if index != 0:  # the first frame's camera sees no cell through the near plane
            yield "title_near_plane_%d" % index, seed.build(
                lambda command, positions: is_cell(command) and crosses_near_plane(positions),
                most_draws=2)


def device_seeds(capture_path):
    """Each seed starts with its display byte: the seeds spread over the render scales and views."""
    kept = [(name, data) for name, data in picked_draws(capture_path) if data is not None]
    return ((name, bytes([index * 3 % 8]) + data) for index, (name, data) in enumerate(kept))
