#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets: for the report dispatcher, one
report of every code the program handles, with fields inside and outside
their limits, and a few multi-report and short inputs; for the mode file
reader, files of every version, cut short at awkward places."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus", "dispatch")
MODE_OUT = os.path.join(HERE, "corpus", "modefile")


def report(code, *payload, fill=None):
    body = [2, code] + list(payload)
    if fill is not None:
        body += [fill] * (61 - len(body))
    return bytes(body + [0] * (61 - len(body)))[:61]


seeds = {
    "mode": report(7, 2), "mode_big": report(7, 200),
    "meters": report(8, 10, 20, 30),
    "param_ack": report(9),
    "param_ok": report(10, 1, 24, 70, 0), "param_alt": report(11, 7, 22, 0, 36),
    "param_block0": report(10, 0, 2, 7, 220), "param_block9": report(10, 9, 0, 1, 1),
    "param_block255": report(10, 255, 255, 255, 255), "param_index_beyond": report(10, 3, 12, 1, 1),
    "param_rear_on": report(10, 4, 33, 127, 255), "param_sub_index27": report(10, 7, 27, 5, 5),
    "volumes": report(12, 80, 90),
    "version": report(16, ord('V'), ord('1')), "version_empty": report(16),
    "autosub": report(17, 0, 3, 4),
    "wmic_channel": report(19, 0, 16, 64, 80), "wmic_mic_big": report(19, 7, 16, 65, 1),
    "wmic_pairing_big": report(19, 9, 16, 69, 0x0C),
    "light_record": report(82, 3, *range(17)), "light_record_big": report(82, 4, *range(17)),
    "light_byte": report(84, 2, 9), "light_byte_big": report(84, 3, 9),
    "key": report(96, 0x12, 15, 0x40), "key_big": report(96, 0x12, 16, 0x40),
    "remote": report(98, *range(16)),
    "subversion": report(127, 5),
    "name": report(128, *b"KR710Q"), "name_full": report(128, fill=ord('A')),
    "hw_full": report(129, fill=ord('9')),
    "machine": report(146, *range(14)), "layout": report(149, 1),
    "wmic_status": report(161, 0x0C, 0x05),
    "unknown": report(250, 1, 2, 3),
    "short": bytes([2, 128, 65]), "empty": b"",
    "two_reports": report(149, 0) + report(146, *range(20, 34)),
}

os.makedirs(OUT, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def magic(text):
    return (text.encode("utf-16-le") + b"\0\0").ljust(40, b"\0")


def body(length, seed):
    return bytes((seed * 31 + i * 7) % 256 for i in range(length))


mode_seeds = {
    "v3": magic("710ModeV3") + body(908, 1),
    "v3_rear": magic("710ModeV3") + body(138, 2) + bytes([0, 0, 127, 255]) + body(766, 3),
    "v2": magic("710ModeV2") + body(665, 4),
    "v1": magic("710ModeV1") + body(542, 5),
    "v4": magic("710ModeV4") + body(908, 6),
    "lower_case": magic("710modev3") + body(300, 7),
    "headerless": body(574, 8),
    "short_magic": magic("710ModeV3")[:13],
    "odd_cut": magic("710ModeV3") + body(51, 9),
    "empty": b"",
}
os.makedirs(MODE_OUT, exist_ok=True)
for name, data in mode_seeds.items():
    with open(os.path.join(MODE_OUT, name), "wb") as f:
        f.write(data)
print(f"{len(seeds)} dispatcher seeds, {len(mode_seeds)} mode file seeds")
