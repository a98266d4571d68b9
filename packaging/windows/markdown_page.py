#!/usr/bin/env python3
"""Renders a Markdown document into one self-contained HTML page with
cmark-gfm (Debian's package), for the Windows package: the guide and the
README open in a browser from the install folder, without the network.

Usage: markdown_page.py INPUT.md OUTPUT.html TITLE [LINK=TARGET ...]

cmark-gfm does the rendering. This script only wraps its output: headings get
the anchors that the documents' own links use (the ones a code host makes:
lower case, punctuation dropped, spaces as "-"), images become data: URIs,
and the LINK=TARGET pairs rewrite links between the documents
(docs/guide.ja.md=guide.ja.html)."""
import base64
import html
import mimetypes
import re
import subprocess
import sys
import urllib.parse
from pathlib import Path

STYLE = """
body { font-family: "Yu Gothic UI", "Meiryo UI", "Meiryo", "MS UI Gothic", sans-serif;
       max-width: 60em; margin: 2em auto; padding: 0 1em; line-height: 1.6; color: #222; }
code, pre { font-family: "MS Gothic", "Consolas", monospace; background: #f3f3f3; }
pre { padding: 0.6em; overflow-x: auto; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #bbb; padding: 0.3em 0.6em; vertical-align: top; }
th { background: #eee; }
img { max-width: 100%; }
"""


def slug(text, seen):
    """The anchor of a heading, made unique with -1, -2... as a code host does."""
    plain = re.sub(r"<[^>]+>", "", text)
    plain = html.unescape(plain).strip().lower()
    plain = re.sub(r"[^\w\- ]", "", plain)
    base = plain.replace(" ", "-")
    anchor = base
    n = seen.get(base, 0)
    if n:
        anchor = f"{base}-{n}"
    seen[base] = n + 1
    return anchor


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    source, output, title = Path(sys.argv[1]), Path(sys.argv[2]), sys.argv[3]
    links = dict(arg.split("=", 1) for arg in sys.argv[4:])
    body = subprocess.run(
        ["cmark-gfm", "--extension", "table", "--extension", "autolink", "--extension", "strikethrough",
         str(source)],
        check=True, capture_output=True, text=True, encoding="utf-8").stdout

    seen = {}
    body = re.sub(r"<h([1-6])>(.*?)</h\1>",
                  lambda m: f'<h{m.group(1)} id="{html.escape(slug(m.group(2), seen))}">{m.group(2)}</h{m.group(1)}>',
                  body)

    def image(m):
        path = source.parent / html.unescape(m.group(1))
        kind = mimetypes.guess_type(path.name)[0] or "application/octet-stream"
        data = base64.b64encode(path.read_bytes()).decode("ascii")
        return f'src="data:{kind};base64,{data}"'
    body = re.sub(r'src="(?!https?:|data:)([^"]+)"', image, body)

    def link(m):
        target = html.unescape(m.group(1))
        name, _, anchor = target.partition("#")
        anchor = urllib.parse.unquote(anchor)
        target = name + ("#" + anchor if anchor else "")
        if name in links:
            target = links[name] + ("#" + anchor if anchor else "")
        return f'href="{html.escape(target)}"'
    body = re.sub(r'href="([^"]+)"', link, body)

    page = (f'<!DOCTYPE html>\n<html lang="ja">\n<head>\n<meta charset="utf-8">\n'
            f"<title>{html.escape(title)}</title>\n<style>{STYLE}</style>\n</head>\n<body>\n{body}</body>\n</html>\n")
    output.write_text(page, encoding="utf-8", newline="\r\n")


main()
