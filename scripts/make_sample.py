#!/usr/bin/env python3
"""Writes the bundled sample boring (examples/sample) and Vantor's pattern-data
folder for it (examples/RADUDI) as real CP932 files. Run it again after
changing the data below; the files it writes are committed."""
import os
import sys

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples")


def write(folder, name, lines, crlf=True):
    path = os.path.join(root, folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    end = "\r\n" if crlf else "\n"
    with open(path, "wb") as f:
        f.write("".join(line + end for line in lines).encode("cp932"))


# Layers: number, depth of the layer bottom, colour code, soil description.
layers = [
    ("0.60", "表土"),
    ("1.80", "埋土"),
    ("3.50", "砂混りシルト"),
    ("5.20", "礫混じり砂質シルト"),
    ("7.00", "シルト質砂"),
    ("9.40", "玉石混り砂礫"),
    ("10.50", "砂と粘土の互層"),
    ("12.80", "砂混り粘土混りシルト"),
    ("14.00", "有機質土"),
    ("15.30", "粘土質砂礫"),
    ("17.00", "軟岩・風化岩"),
    ("18.50", "ｼﾙﾄ質砂"),
    ("20.00", "中硬岩"),
]
write("sample", "X1.TXT", [f"{i},{d},{i % 3},{s}" for i, (d, s) in enumerate(layers, 1)])

# N values: number, depth, blows, penetration, name (looked up in D12A.TXT).
write("sample", "X4.TXT", [f"{i},{d:.2f},{n},30,{s}" for i, (d, n, s) in enumerate(
    [(1.15, 3, "砂"), (2.15, 5, "シルト"), (3.15, 8, "砂礫"), (4.15, 12, "粘土"), (5.15, 50, "軟岩")], 1)])
write("sample", "X11.TXT", [f"{i},{d},{n},0,{s}" for i, (d, n, s) in enumerate(
    [("1.3", "12.4", "孔内水平載荷試験"), ("4.25", "0", "現場透水試験"), ("9.5", "37.5", "ＰＳ検層")], 1)])
write("sample", "X3.TXT", [f"{i},{d},{a},0,{b},0,0" for i, (d, a, b) in enumerate(
    [("1.00", "T-1", "乱さない試料"), ("4.50", "T-2", "サンプリング"), ("8.00", "S-3", "SPT")], 1)])
write("sample", "X12.TXT", [
    "1,2.5,地下水位は GL-2.50m で確認した。",
    "2,6,\"掘進中、5.80m 付近で逸水あり。ベントナイト泥水を用いて掘進を続けたが、逸水は止まらなかった。\"",
    "3,11.25,",
])
write("sample", "X5.TXT", [
    "1,1.00,A,0,1,2,3,4,5,6,7",
    "2,3.00,B ,0,12,3,4,5,6,7,8",
])

# Record series.
write("sample", "R30.TXT", ["1,3.50, 5 ,0,12,0", "2,7.00,3,0,4,0"])
write("sample", "R31.TXT", ["1,3.50,2,0,0,0"])
write("sample", "R34.TXT", ["1,9.40,7,0,0,0", "2,12.80,1,0,0,0"])
write("sample", "R41.TXT", ["1,5.20,1234,5,67,0,0,0,0,0,0"])
write("sample", "R72.TXT", ["1,10.50, 12,3,0, 4,0,砂と粘土が 5 cm ごとに互層をなす。下部ほど粘土が優勢となる。"])

# X6 and X7: 68 fields per record.
def record68(values):
    fields = [""] * 69
    for k, v in values.items():
        fields[k] = v
    return ",".join(fields[1:])

write("sample", "X6.TXT", [
    record68({1: "1", 2: "B-1", 3: "5", 5: "1.5", 6: "12", 7: "12.6", 8: "3", 29: "標準貫入試験", 30: "現場透水試験"}),
    record68({1: "2", 2: "B-1-2", 3: "12", 5: "2.675", 6: "20.25", 7: "8", 8: "0", 29: "密度検層", 31: "速度検層"}),
])
write("sample", "X7.TXT", [
    record68({1: "1", 2: "A01", 5: "1.5", 6: "12", 15: "3", 50: "SAND", 52: "CLAY", 60: "ROCK"}),
    record68({1: "2", 2: "A02", 5: "12", 6: "15.25", 9: "20", 49: "砂質土", 51: "粘性土"}),
    record68({1: "3", 2: "A03", 5: "15.25", 6: "20", 10: "44"}),
])

# Control values and title data.
write("sample", "CNT.TXT", ["1,0,0,0,25,3"])
write("sample", "titl01.txt", [
    "○○川改修工事に伴う地質調査業務", "福井県○○市△△町地内", "B-1", "2026/10/12", "2026/10/14",
    "調査 太郎", "検査 次郎", "株式会社サンプル地質", "ロータリー式", "○○川の右岸堤防上で実施した機械ボーリング",
    "66", "90", "12.50", "1", "0", "20.00", "ＹＢＭ－０５", "東邦 D0-D", "ＧＬ－２．５０ｍ", "", "N 36°03′", "E 136°13′",
])
write("sample", "titl02.txt", ["福井県", "", "", "", "", "", "", "", "", "", "", "", "", "", "標準貫入試験",
                              "油圧式", "12.345", "", "20.00", "6.5", "", "", "2.675", "", "3.4", "0.125", "-0.004",
                              "", "", "", "完了"])
write("sample", "G71.TXT", ["1,柱状図凡例"])
write("sample", "G73.TXT", ["1,0,0"])
write("sample", "PCNT.TXT", ["1,PAT01"])
write("sample", "PAT01.DAT", ["1,模様データ"])

# Vantor's pattern-data folder for the sample: kishitu.txt and the item lists.
write("RADUDI", "kishitu.txt", ["1,砂", "2,シルト", "3,粘土"])
write("RADUDI", "L9.txt", [f"{i},{n}" for i, n in enumerate(
    ["標準貫入試験", "現場透水試験", "孔内水平載荷試験", "PS検層", "密度検層", "電気検層", "間隙水圧測定",
     "地下水位測定", "試料採取", "室内土質試験", "岩石試験", "孔内カメラ", "湧水圧試験", "ルジオン試験",
     "温度検層"], 1)])
write("RADUDI", "L22.txt", [f"{i},{n}" for i, n in enumerate(
    ["標準貫入試験", "現場透水試験", "孔内水平載荷試験", "PS検層", "速度検層", "電気検層", "間隙水圧測定",
     "地下水位測定", "試料採取", "室内土質試験", "岩石試験", "孔内カメラ", "湧水圧試験", "ルジオン試験",
     "密度検層2"], 1)])
print("sample written to", os.path.normpath(root), file=sys.stderr)
