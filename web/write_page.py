"""Writes the page's files into the output folder: index.html with the key table of
the README put in, the style and script as they are, and the WebAssembly module once
more as a script, for pages opened from file://, which may run scripts but not fetch
files.

    write_page.py SOURCE_DIR README OUTPUT_DIR
"""
import base64
import html
import os
import re
import shutil
import sys


def key_table(readme_text):
    """The README's key table as HTML rows; `code` spans become <code>."""
    section = readme_text.split("\n## Keys", 1)[1].split("\n## ", 1)[0]
    rows = [line.strip() for line in section.splitlines() if line.strip().startswith("|")]
    out = ["<table>"]
    for index, row in enumerate(rows):
        cells = [cell.strip() for cell in row.strip("|").split("|")]
        if index == 1 and all(set(cell) <= set("-: ") for cell in cells):
            continue
        tag = "th" if index == 0 else "td"
        text = [re.sub(r"`([^`]*)`", r"<code>\1</code>", html.escape(cell, quote=False)) for cell in cells]
        out.append("<tr>" + "".join(f"<{tag}>{cell}</{tag}>" for cell in text) + "</tr>")
    out.append("</table>")
    return "\n    ".join(out)


def main():
    source, readme, output = sys.argv[1:4]
    with open(readme, encoding="utf-8") as file:
        table = key_table(file.read())
    with open(os.path.join(source, "index.html"), encoding="utf-8") as file:
        page = file.read()
    with open(os.path.join(output, "index.html"), "w", encoding="utf-8") as file:
        file.write(page.replace("<!-- keys -->", table))
    for name in ("page.js", "page.css"):
        shutil.copyfile(os.path.join(source, name), os.path.join(output, name))
    wasm = os.path.join(output, "varnok.wasm")
    if os.path.exists(wasm):
        with open(wasm, "rb") as module:
            text = base64.b64encode(module.read()).decode("ascii")
        with open(os.path.join(output, "varnok-wasm.js"), "w", encoding="ascii") as out:
            out.write('window.varnokWasmBase64 = "' + text + '";\n')


if __name__ == "__main__":
    main()
