#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into tests/fuzz/corpus/.

Run it again after changing an input layout (the comment above each
target's LLVMFuzzerTestOneInput describes it); the files it writes are
committed, and the fuzzers only ever grow a copy of them.
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")

NAN = float("nan")
INF = float("inf")


# --- chunks: the effect's program record, little-endian -----------------------

def record(name, values, controllers=(-1,) * 6, reserved=b"\0\0", raw_name=False):
    name_bytes = name if raw_name else name.encode("ascii")
    assert len(name_bytes) <= 24
    return (name_bytes.ljust(24, b"\0") + struct.pack("<6f", *values)
            + struct.pack("<6b", *controllers) + reserved)


FACTORY = [
    ("Junkyard Reverb", (0.0, 0.505, 0.62, 0.495, 0.0, 1.0)),
    ("On The Edge", (0.881, 0.5, 0.9, 1.0, 0.0, 1.0)),
    ("Thicker Loop", (0.295, 0.195, 0.0, 0.495267, 0.0, 1.0)),
    ("Dimed", (1.0, 1.0, 1.0, 1.0, 0.0, 1.0)),
    ("Smooth Operator", (0.0, 0.545, 0.86, 0.54, 1.0, 1.0)),
]


def factory_bank():
    return b"".join(record(n, v) for n, v in FACTORY)


def learned_bank():
    """A bank saved after learning: bindings, an "Init" program, odd values."""
    return b"".join([
        record("Junkyard Reverb", FACTORY[0][1], (-1, 1, -1, 7, -1, -1)),
        record("Init", (0.5,) * 6, (7, 7, -1, -1, -1, 0)),
        record(b"ABCDEFGHIJKLMNOPQRSTUVWX", (1.5, -0.25, NAN, INF, -INF, 0.0), raw_name=True),
        record("Dimed", FACTORY[3][1], (-128, 127, -1, -1, -1, -1), reserved=b"\xff\xff"),
        record("Smooth Operator", FACTORY[4][1]),
    ])


# --- fuzz_set_chunk: mode byte, then the chunk ---------------------------------

def set_chunk_mode(preset, via_dispatcher, size_choice, program):
    return bytes([(1 if preset else 0) | (2 if via_dispatcher else 0)
                  | (size_choice << 2) | (program << 4)])


# --- fuzz_process_events: steps ------------------------------------------------

def midi_event(status, data1, data2, delta=0, kind=4, type_=1, byte_size=32):
    return bytes([kind]) + struct.pack("<iiiiii", type_, byte_size, delta, 0, 0, 0) + \
        bytes([status, data1, data2, 0, 0, 0, 0, 0])


def events_step(*events):
    return bytes([0, len(events)]) + b"".join(events)


def click(tag):  # tags -1..8 in one byte
    return bytes([3, tag + 1])


def set_program(index):  # -2..13 in one byte
    return bytes([4, index + 2])


def process(frames, in_place=False):
    return bytes([5, frames | (0x80 if in_place else 0)])


def set_parameter(index, value_code):  # index -1..6; value_code indexes the float table
    return bytes([6, index + 1, value_code])


def check_state():
    return bytes([7])


# --- fuzz_dispatcher: steps ----------------------------------------------------

OPT = {"0": 0, "1": 1, "44100": 6, "48000": 7, "2.9": 9, "nan": 15, "inf": 17}


def dispatch(opcode, index=0, value=0, opt="0", null=False, text=None):
    out = bytes([0, opcode + 2])
    out += bytes([index + 2]) if -2 <= index <= 9 else bytes([0x80]) + struct.pack("<i", index)
    if value == 56:
        out += bytes([0x80])
    elif value == 280:
        out += bytes([0x90])
    elif -2 <= value <= 13:
        out += bytes([value + 2])
    else:
        out += bytes([0xA0]) + struct.pack("<q", value)
    out += bytes([OPT[opt]])
    mode = (1 if null else 0) | (2 if text is not None else 0)
    out += bytes([mode])
    if text is not None:
        t = text.encode("ascii")
        out += bytes([len(t)]) + t
    return out


def dispatch_raw_opcode(opcode):
    return bytes([0, 0xF0]) + struct.pack("<i", opcode) + bytes([2, 2, 0, 0])


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- preset files: big-endian headers ------------------------------------------

def be32(v):
    return struct.pack(">i", v)


def fourcc(s):
    return s.encode("ascii")


def program_chunk_file(name, chunk, version=1):
    body = fourcc("FPCh") + be32(version) + fourcc("MFjr") + be32(1000) + be32(6)
    body += name.encode("ascii").ljust(28, b"\0") + be32(len(chunk)) + chunk
    return fourcc("CcnK") + be32(len(body)) + body


def bank_chunk_file(chunk, current):
    body = fourcc("FBCh") + be32(2) + fourcc("MFjr") + be32(1000) + be32(5)
    body += (be32(current) + b"\0" * 124) + be32(len(chunk)) + chunk
    return fourcc("CcnK") + be32(len(body)) + body


def param_program_file(name, values):
    body = fourcc("FxCk") + be32(1) + fourcc("MFjr") + be32(1000) + be32(len(values))
    body += name.encode("ascii").ljust(28, b"\0") + b"".join(struct.pack(">f", v) for v in values)
    return fourcc("CcnK") + be32(len(body)) + body


def param_bank_file():
    body = fourcc("FxBk") + be32(1) + fourcc("MFjr") + be32(1000) + be32(5) + b"\0" * 128
    body += b"".join(param_program_file(n, v) for n, v in FACTORY)
    return fourcc("CcnK") + be32(len(body)) + body


def main():
    factory = factory_bank()
    learned = learned_bank()
    assert len(factory) == 280 and len(learned) == 280

    t = "fuzz_set_chunk"
    write(t, "bank-factory", set_chunk_mode(False, True, 1, 0) + factory)
    write(t, "bank-learned-direct", set_chunk_mode(False, False, 1, 2) + learned)
    write(t, "program-init-as-3", set_chunk_mode(True, True, 0, 2) + learned[56:112])
    write(t, "program-full-name", set_chunk_mode(True, False, 0, 4) + learned[112:168])
    write(t, "program-57-bytes", set_chunk_mode(True, True, 2, 1) + learned[168:224] + b"\0")
    write(t, "bank-as-program", set_chunk_mode(True, True, 2, 0) + factory)

    t = "fuzz_process_events"
    write(t, "controllers", events_step(
        midi_event(0xB0, 7, 100), midi_event(0xBF, 1, 0), midi_event(0x90, 60, 100, 12))
        + process(64) + check_state())
    write(t, "learn-depth", click(3)
          + events_step(midi_event(0xB0, 7, 10), midi_event(0xB0, 7, 20))
          + events_step(midi_event(0xB3, 7, 127)) + check_state()
          + set_program(1) + events_step(midi_event(0xB0, 7, 64))
          + set_program(0) + events_step(midi_event(0xB0, 7, 0)) + process(64, True))
    write(t, "learn-moves-and-cancels", click(1) + click(2) + click(2) + click(7)
          + events_step(midi_event(0xB0, 1, 1), midi_event(0xB0, 10, 1), midi_event(0xB0, 1, 1))
          + click(-1) + events_step(midi_event(0xB0, 1, 1), midi_event(0xB0, 1, 1))
          + set_program(5) + set_program(-1) + set_parameter(3, 15) + process(100))
    write(t, "odd-events", events_step(
        midi_event(0xB0, 0x80, 0xFF, kind=1), midi_event(0xF0, 0, 0, kind=0, type_=6),
        midi_event(0xB5, 3, 3, delta=-5, kind=0, type_=1, byte_size=0))
        + click(8) + process(1))

    t = "fuzz_dispatcher"
    write(t, "host-session", b"".join([
        dispatch(0), dispatch(10, opt="48000"), dispatch(11, value=512),
        dispatch(12, value=1), dispatch(51, text="receiveVstMidiEvent"),
        dispatch(4, text="A program name much longer than twenty-three"),
        dispatch(5), dispatch(23, index=0), dispatch(23, index=1),
        dispatch(24, index=1, value=56, text="Chunk"), dispatch(7, index=1),
        dispatch(29, index=4), dispatch(2, value=3), dispatch(59, index=65, value=3, opt="2.9"),
        dispatch(58), dispatch(12, value=0),
        bytes([13, 3, 1]), bytes([14, 3]), bytes([15, 64]),
    ]))
    write(t, "odd-calls", b"".join([
        dispatch(-1), dispatch(80), dispatch_raw_opcode(-2147483648),
        dispatch(10, opt="nan"), dispatch(10, opt="inf"), dispatch(2, value=5),
        dispatch(2, value=-2), dispatch(42, index=0), dispatch(69, index=0),
        dispatch(25), dispatch(24, value=280), dispatch(5, null=True), dispatch(7, index=9),
        dispatch(43, value=-1, opt="nan"), dispatch(9), dispatch(57),
        bytes([13, 0x80]) + struct.pack("<i", -7) + bytes([15]), bytes([15, 0xFF]),
    ]))

    t = "fuzz_preset_file"
    write(t, "raw-program.chunk", learned[56:112])
    write(t, "raw-bank.chunk", factory)
    write(t, "program.fxp", program_chunk_file("Junkyard Reverb", factory[:56]))
    write(t, "bank.fxb", bank_chunk_file(learned, 2))
    write(t, "params-program.fxp", param_program_file("Dimed", FACTORY[3][1]))
    write(t, "params-bank.fxb", param_bank_file())
    return 0


if __name__ == "__main__":
    sys.exit(main())
