#!/usr/bin/env python3
"""Writes a Kolbrix export of one boring into FOLDER for the conversion
benchmark (bench/run_benchmarks.sh).

    bench/make_large_export.py [--records N] [--seed S] [--shape SHAPE] FOLDER

The default shape is a large export: X1.TXT with 100,000 layers and every
other table and record series (X3, X4, X5, X6, X7, X11, X12, R30 to R35, R41,
R72) with 100,000 records, about 65 MiB in all (68.6 million bytes), beside
the title files, CNT.TXT and a PCNT.TXT with its file groups. The
pathological shapes write a small export (--records, default 100) in which
one file takes the shape:

    blank-lines  0.8 MB of blank lines between and after the records (X1.TXT)
    eof-marks    2 MB of lines holding only the end-of-file mark 0x1A, between
                 and after the records (X1.TXT)
    huge-field   one 100 MB item (the remark of an R72.TXT record)
    huge-line    one 100 MB line (the layers of X1.TXT on a single line)
    patterns     a PCNT.TXT naming 10,000 file groups (--patterns), each one
                 file of the folder

--table names another file for the shape, --shape-mb another size. Every
file is CP932 with CR LF line ends. The texts come from the bundled sample
(examples/sample), Vantor's item lists of the sample (examples/RADUDI) and the
300 real soil descriptions in tests/data/layer_common_descriptions/X1.TXT; the
output is the same for the same options (the random numbers are seeded).
"""
import argparse
import csv
import io
import os
import random
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
SAMPLE = os.path.join(ROOT, "examples", "sample")
RADUDI = os.path.join(ROOT, "examples", "RADUDI")
DESCRIPTIONS = os.path.join(ROOT, "tests", "data", "layer_common_descriptions", "X1.TXT")

MB = 1000 * 1000
CRLF = "\r\n"


# ---------------------------------------------------------------- source texts

def read_records(path):
    """The records of a comma-separated CP932 file, quotes removed."""
    with open(path, "rb") as f:
        text = f.read().decode("cp932")
    return [row for row in csv.reader(io.StringIO(text.replace("\r\n", "\n"))) if row]


def read_lines(path):
    with open(path, "rb") as f:
        return f.read().decode("cp932").split("\r\n")[:-1]


class Texts:
    """Everything the tables are built from."""

    def __init__(self):
        # The real soil descriptions, as Kolbrix writes them in X1.TXT.
        self.descriptions = [r[3] for r in read_records(DESCRIPTIONS)]
        sample_layers = [r[3] for r in read_records(os.path.join(SAMPLE, "X1.TXT"))]
        # Short names for the N values and the X6 and X7 texts.
        self.soil_names = sorted({d for d in self.descriptions + sample_layers if len(d) <= 4 and "," not in d})
        # Vantor's item lists: X6 names these in fields 29 to 48.
        self.l9 = [r[1] for r in read_records(os.path.join(RADUDI, "L9.txt"))]
        self.l22 = [r[1] for r in read_records(os.path.join(RADUDI, "L22.txt"))]
        self.items = sorted(set(self.l9) | set(self.l22))
        self.test_names = sorted({r[4] for r in read_records(os.path.join(SAMPLE, "X11.TXT"))} | set(self.l9))
        self.sample_kinds = [r[4] for r in read_records(os.path.join(SAMPLE, "X3.TXT"))] + [
            "シンウォール", "デニソン", "トリプル", "固定ピストン", "ロータリー", "コアチューブ"]
        self.titl01 = read_lines(os.path.join(SAMPLE, "titl01.txt"))
        self.titl02 = read_lines(os.path.join(SAMPLE, "titl02.txt"))
        self.cnt = read_lines(os.path.join(SAMPLE, "CNT.TXT"))
        self.g71 = read_lines(os.path.join(SAMPLE, "G71.TXT"))
        self.g73 = read_lines(os.path.join(SAMPLE, "G73.TXT"))
        self.pattern = read_lines(os.path.join(SAMPLE, "PAT01.DAT"))
        # Remarks of the sample, then sentences of the kind a boring log's
        # remarks hold; {d} a depth, {s} and {t} soil descriptions, {n} an N value.
        self.sample_notes = [r[2] for r in read_records(os.path.join(SAMPLE, "X12.TXT")) if r[2]] + [
            r[7] for r in read_records(os.path.join(SAMPLE, "R72.TXT"))]
        self.sentences = [
            "地下水位は GL-{d}m で確認した。",
            "掘進中、{d}m 付近で逸水あり。",
            "ベントナイト泥水を用いて掘進を続けたが、逸水は止まらなかった。",
            "{d}m 以深は{s}となり、N値は{n}程度で締まっている。",
            "{s}と{t}が 5 cm ごとに互層をなす。",
            "下部ほど{s}が優勢となる。",
            "{d}m 付近に径 5～10 cm の玉石を混入する。",
            "コア採取率は 80% 程度で、{d}m 付近は砕けて礫状となる。",
            "含水比は中位で、指圧で容易に変形する。",
            "{s}は灰褐色を呈し、所々に雲母片を含む。",
            "植物片及び腐植物を点在する。",
            "貝殻片を混入し、わずかに異臭がある。",
            "{d}m で孔壁が崩壊したため、ケーシングを挿入した。",
            "標準貫入試験の打撃回数は{n}回で、貫入量は 30 cm であった。",
            "{d}m から{s}に変わり、掘進速度が急に遅くなった。",
            "割れ目が多く、割れ目沿いに酸化鉄が付着している。",
            "全体に均質で、粒径は揃っている。",
            "上部は{s}、下部は{t}からなる。",
            "孔内水位は作業開始時 GL-{d}m、終了時も変化なし。",
            "被圧地下水の湧出が認められたため、水頭を測定した。",
        ]
        # Remarks of a few words, as most records carry.
        self.short_notes = [
            "逸水あり。", "湧水あり。", "孔壁崩壊。", "腐植物混入。", "貝殻片混入。", "玉石混入。", "コア採取率 80%。",
            "GL-{d}m 水位確認。", "{d}m 付近逸水。", "{s}主体。", "{s}を挟む。", "N値{n}。", "所々{s}を混入。",
            "ケーシング挿入。", "酸化鉄付着。", "亀裂多い。", "掘進速度低下。", "被圧水あり。",
        ]
        self.item_texts = self.soil_names + ["砂質", "礫混り", "粘性土", "砂質土", "ＰＳ検層", "試料採取"]


# ---------------------------------------------------------------- values

def decimal_text(cents, style):
    """A depth of cents as Kolbrix writes it: two decimals, or the shortest
    text (2.5, 6, 11.25)."""
    whole, frac = divmod(cents, 100)
    if style == "fixed":
        return "%d.%02d" % (whole, frac)
    if frac == 0:
        return str(whole)
    return ("%d.%02d" % (whole, frac)).rstrip("0")


class Depths:
    """Increasing depths in cents for a table of count records. Vantor keeps
    seven columns for a depth, so the steps keep a table of up to 800,000
    records below 9999.99 m; past that the depths start again from the top."""

    def __init__(self, rng, count):
        self.rng = rng
        self.mean = max(1, min(150, 800000 // max(1, count)))
        self.cents = 0

    def next(self):
        self.cents += self.rng.randint(1, 2 * self.mean - 1)
        if self.cents > 999999:
            self.cents = self.rng.randint(1, self.mean)
        return self.cents


def quoted(text):
    return '"' + text + '"'


def fill(template, texts, rng):
    return template.format(d=decimal_text(rng.randint(10, 5000), "fixed"), n=rng.randint(2, 50),
                           s=rng.choice(texts.soil_names), t=rng.choice(texts.soil_names))


def note(texts, rng, long_note):
    """A remark: a few words, or a long note of sentences, a few hundred bytes."""
    if not long_note:
        return fill(rng.choice(texts.short_notes), texts, rng)
    target = rng.randint(200, 600)
    parts = []
    size = 0
    while size < target:
        s = rng.choice(texts.sample_notes) if not parts and rng.random() < 0.2 else fill(
            rng.choice(texts.sentences), texts, rng)
        parts.append(s)
        size += len(s.encode("cp932"))
    return "".join(parts)


# ---------------------------------------------------------------- tables
# Each table gives the items of its record i; items already carry their quotes.

class Tables:
    # Every twentieth note is a long one; with the short ones this keeps the
    # default export near 65 MiB.
    LONG_NOTE_EVERY = 20

    def __init__(self, texts, rng, count):
        self.t = texts
        self.rng = rng
        self.count = count
        self.depths = {}

    def depth(self, name):
        if name not in self.depths:
            self.depths[name] = Depths(self.rng, self.count)
        return self.depths[name].next()

    def X1(self, i):
        # Number, depth of the layer bottom, colour code, soil description.
        return [str(i), decimal_text(self.depth("X1"), "fixed"), str(i % 3), quoted(self.rng.choice(self.t.descriptions))]

    def X3(self, i):
        # Number, depth, sample code, (0), kind of sample, (0), (0).
        r = self.rng
        return [str(i), decimal_text(self.depth("X3"), "fixed"), "%s-%d" % (r.choice("TSP"), r.randint(1, 99)), "0",
                r.choice(self.t.sample_kinds), "0", "0"]

    def X4(self, i):
        # Number, depth, blows, penetration in cm, soil name.
        r = self.rng
        blows = r.randint(0, 60)
        return [str(i), decimal_text(self.depth("X4"), "fixed"), str(blows), "30" if blows < 50 else str(r.randint(3, 29)),
                r.choice(self.t.soil_names)]

    def X5(self, i):
        # Number, depth, class letter, (0), seven values.
        r = self.rng
        letter = r.choice("ABCDEFGH") + (" " if r.random() < 0.2 else "")
        return [str(i), decimal_text(self.depth("X5"), "fixed"), letter, "0"] + [str(r.randint(0, 99)) for _ in range(7)]

    def X11(self, i):
        # Number, depth, value, (0), test name.
        r = self.rng
        value = "0" if r.random() < 0.3 else "%d.%d" % (r.randint(1, 99), r.randint(0, 9))
        return [str(i), decimal_text(self.depth("X11"), "short"), value, "0", r.choice(self.t.test_names)]

    def X12(self, i):
        # Number, depth, remark (quoted; it may hold commas).
        r = self.rng
        text = note(self.t, r, i % self.LONG_NOTE_EVERY == 0)
        return [str(i), decimal_text(self.depth("X12"), "short"), quoted(text)]

    def record68(self, values):
        fields = [""] * 69
        for k, v in values.items():
            fields[k] = v
        return fields[1:]

    def spread(self, first, last, choices, low, high):
        """Some of the fields first..last, each a random one of choices."""
        r = self.rng
        return {k: r.choice(choices) for k in r.sample(range(first, last + 1), r.randint(low, high))}

    def X6(self, i):
        # Number, name, count, (blank), depth from, depth to, two values,
        # values in 9 to 28, item names of Vantor's lists in 29 to 48, texts in 49 to 68.
        r = self.rng
        top = self.depth("X6")
        values = {1: str(i), 2: "B-%d" % r.randint(1, 9) + ("-%d" % r.randint(1, 9) if r.random() < 0.3 else ""),
                  3: str(r.randint(1, 40)),
                  # A third decimal now and then (2.675).
                  5: decimal_text(top, "short") if r.random() < 0.8 else "%d.%02d5" % divmod(top, 100),
                  6: decimal_text(top + r.randint(10, 500), "short"), 7: "%d.%d" % (r.randint(0, 50), r.randint(0, 9)),
                  8: str(r.randint(0, 9))}
        values.update(self.spread(9, 28, [str(v) for v in range(0, 20)], 0, 1))
        values.update(self.spread(29, 48, self.t.items, 1, 2))
        values.update(self.spread(49, 68, self.t.item_texts, 1, 1))
        return self.record68(values)

    def X7(self, i):
        # Number, name, (blank), (blank), depth from, depth to, (blank),
        # (blank), codes in 9 to 28 (the first one counts), item names in 29
        # to 48, texts in 49 to 68 (the first two count).
        r = self.rng
        top = self.depth("X7")
        values = {1: str(i), 2: "A%02d" % r.randint(1, 99), 5: decimal_text(top, "short"),
                  6: decimal_text(top + r.randint(10, 500), "short")}
        values.update(self.spread(9, 28, [str(v) for v in range(1, 45)], 1, 2))
        values.update(self.spread(29, 48, self.t.items, 0, 1))
        values.update(self.spread(49, 68, self.t.item_texts, 1, 2))
        return self.record68(values)

    def r3(self, name, i, second_code):
        # Number, depth, code, (0), second code (R30 only), (0).
        r = self.rng
        code = str(r.randint(1, 12))
        if r.random() < 0.1:
            code = " %s " % code
        return [str(i), decimal_text(self.depth(name), "fixed"), code, "0",
                str(r.randint(1, 20)) if second_code else "0", "0"]

    def R30(self, i): return self.r3("R30", i, True)
    def R31(self, i): return self.r3("R31", i, False)
    def R32(self, i): return self.r3("R32", i, False)
    def R33(self, i): return self.r3("R33", i, False)
    def R34(self, i): return self.r3("R34", i, False)
    def R35(self, i): return self.r3("R35", i, False)

    def R41(self, i):
        # Number, depth, three values, six (0).
        r = self.rng
        return [str(i), decimal_text(self.depth("R41"), "fixed"), str(r.randint(1, 9999)), str(r.randint(0, 99)),
                str(r.randint(0, 999))] + ["0"] * 6

    def R72(self, i):
        # Number, depth, three codes with their leading spaces, two (0), remark.
        r = self.rng
        text = note(self.t, r, i % self.LONG_NOTE_EVERY == 0)
        return [str(i), decimal_text(self.depth("R72"), "fixed"), "%3d" % r.randint(1, 99), str(r.randint(1, 9)), "0",
                "%2d" % r.randint(0, 9), "0", text]

    # The item that the huge-field shape makes huge, per table (counted from 0).
    HUGE_ITEM = {"X1": 3, "X3": 4, "X4": 4, "X11": 4, "X12": 2, "R72": 7, "X6": 48, "X7": 48}


TABLES = ["X1", "X3", "X4", "X5", "X6", "X7", "X11", "X12", "R30", "R31", "R32", "R33", "R34", "R35", "R41", "R72"]


# ---------------------------------------------------------------- writing

class Writer:
    def __init__(self, folder):
        self.folder = folder
        self.sizes = {}

    def write_lines(self, name, lines):
        with open(os.path.join(self.folder, name), "wb") as f:
            for chunk in chunks(lines, 5000):
                f.write("".join(line + CRLF for line in chunk).encode("cp932"))
        self.sizes[name] = os.path.getsize(os.path.join(self.folder, name))

    def write_bytes(self, name, pieces):
        with open(os.path.join(self.folder, name), "wb") as f:
            for piece in pieces:
                f.write(piece)
        self.sizes[name] = os.path.getsize(os.path.join(self.folder, name))


def chunks(iterable, n):
    chunk = []
    for x in iterable:
        chunk.append(x)
        if len(chunk) == n:
            yield chunk
            chunk = []
    if chunk:
        yield chunk


def table_lines(tables, name, count):
    gen = getattr(tables, name)
    for i in range(1, count + 1):
        yield ",".join(gen(i))


def blank_lines_table(tables, name, count, size, where, line=b"\r\n"):
    """The table's records with size bytes of blank lines (CR LF, or the line
    given) in one block in the middle, after the last record, or half of them
    in each place."""
    between = size if where == "between" else 0 if where == "after" else size // 2
    after = size - between
    middle = max(1, count // 2)
    gen = getattr(tables, name)
    for i in range(1, count + 1):
        yield (",".join(gen(i)) + CRLF).encode("cp932")
        if i == middle and between:
            yield line * (between // len(line))
    if after:
        yield line * (after // len(line))


def huge_field_table(tables, texts, name, count, size):
    """The table's records; the one in the middle carries an item of size
    bytes of remark sentences (quoted when the table's items are)."""
    gen = getattr(tables, name)
    middle = max(1, count // 2)
    item = Tables.HUGE_ITEM[name]
    rng = random.Random(tables.rng.random())
    for i in range(1, count + 1):
        items = gen(i)
        if i != middle:
            yield (",".join(items) + CRLF).encode("cp932")
            continue
        quote = items[item].startswith('"')
        head = ",".join(items[:item]) + ("," if item else "") + ('"' if quote else "")
        yield head.encode("cp932")
        # A block of sentences, repeated; it stops at a whole sentence.
        block = note(texts, rng, True).encode("cp932")
        while len(block) < 1 << 16:
            block += note(texts, rng, True).encode("cp932")
        written = 0
        while written + len(block) <= size:
            yield block
            written += len(block)
        rest = b""
        while written + len(rest) < size:
            rest += note(texts, rng, False).encode("cp932")
        yield rest
        tail = ('"' if quote else "") + "".join("," + x for x in items[item + 1:]) + CRLF
        yield tail.encode("cp932")


def huge_line_table(tables, name, size):
    """Records of the table on a single line of at least size bytes: the
    reader takes a record as the next items, wherever they stand."""
    gen = getattr(tables, name)
    written = 0
    i = 0
    while written < size:
        parts = []
        for _ in range(2000):
            i += 1
            parts.append(",".join(gen(i)))
        piece = (",".join(parts)).encode("cp932")
        if written:
            piece = b"," + piece
        yield piece
        written += len(piece)
    yield CRLF.encode()


def write_export(args):
    texts = Texts()
    rng = random.Random(args.seed)
    os.makedirs(args.folder, exist_ok=True)
    out = Writer(args.folder)
    count = args.records
    tables = Tables(texts, rng, count)
    size = int(args.shape_mb * MB)

    for name in TABLES:
        file_name = name + ".TXT"
        if args.shape not in ("large", "patterns") and name == args.table:
            if args.shape == "blank-lines":
                out.write_bytes(file_name, blank_lines_table(tables, name, count, size, args.blank_at))
            elif args.shape == "eof-marks":
                # The end-of-file mark that some Windows programs write, on lines of its own.
                out.write_bytes(file_name, blank_lines_table(tables, name, count, size, args.blank_at, b"\x1a\r\n"))
            elif args.shape == "huge-field":
                out.write_bytes(file_name, huge_field_table(tables, texts, name, count, size))
            else:
                out.write_bytes(file_name, huge_line_table(Tables(texts, rng, size // 25), name, size))
            continue
        out.write_lines(file_name, table_lines(tables, name, count))

    # Title data: the sample's, with this boring's name and final depth.
    titl01 = list(texts.titl01)
    titl01[2] = "B-%d" % (args.seed % 100)
    if "X1" in tables.depths:
        titl01[15] = decimal_text(tables.depths["X1"].cents, "fixed")
    out.write_lines("titl01.txt", titl01)
    out.write_lines("titl02.txt", texts.titl02)
    out.write_lines("CNT.TXT", texts.cnt)
    out.write_lines("G71.TXT", texts.g71)
    out.write_lines("G73.TXT", texts.g73)
    # Three file groups, each copied over by its name; the patterns shape
    # names many groups of one file each.
    groups = ["PAT01", "PAT02", "PAT03"]
    if args.shape == "patterns":
        groups = ["PAT%05d" % k for k in range(1, args.patterns + 1)]
    out.write_lines("PCNT.TXT", ["%d,%s" % (k, g) for k, g in enumerate(groups, 1)])
    for g in groups:
        out.write_lines(g + ".DAT", texts.pattern)
    return out.sizes


def main():
    p = argparse.ArgumentParser(description="Write a Kolbrix export for the conversion benchmark.")
    p.add_argument("folder", help="folder to write the export into (created when missing)")
    p.add_argument("--records", type=int, default=None,
                   help="records per table (default 100000; 100 for the pathological shapes)")
    p.add_argument("--seed", type=int, default=1, help="random seed (default 1)")
    p.add_argument("--shape", choices=["large", "blank-lines", "eof-marks", "huge-field", "huge-line", "patterns"],
                   default="large")
    p.add_argument("--table", choices=TABLES, default=None,
                   help="the file that takes the shape (default X1; R72 for huge-field)")
    p.add_argument("--shape-mb", type=float, default=None,
                   help="size of the blank lines, the field or the line in MB of 1,000,000 bytes "
                        "(default 0.8 for blank-lines, 2 for eof-marks, else 100)")
    p.add_argument("--blank-at", choices=["between", "after", "both"], default="both",
                   help="where blank-lines and eof-marks put their lines (default: half between, half after the "
                        "records)")
    p.add_argument("--patterns", type=int, default=10000,
                   help="file groups in PCNT.TXT for the patterns shape (default 10000)")
    p.add_argument("--quiet", action="store_true", help="print no file list")
    args = p.parse_args()
    if args.records is None:
        args.records = 100000 if args.shape == "large" else 100
    if args.records < 1:
        p.error("--records must be at least 1")
    if args.table is None:
        args.table = "R72" if args.shape == "huge-field" else "X1"
    if args.shape == "huge-field" and args.table not in Tables.HUGE_ITEM:
        p.error("huge-field takes one of " + ", ".join(sorted(Tables.HUGE_ITEM)))
    if args.shape_mb is None:
        args.shape_mb = {"blank-lines": 0.8, "eof-marks": 2.0}.get(args.shape, 100.0)
    if args.patterns < 1:
        p.error("--patterns must be at least 1")

    sizes = write_export(args)
    if not args.quiet:
        for name in sorted(sizes):
            print("%10d  %s" % (sizes[name], name), file=sys.stderr)
        print("%10d  bytes in %d files in %s" % (sum(sizes.values()), len(sizes), args.folder), file=sys.stderr)


if __name__ == "__main__":
    main()
