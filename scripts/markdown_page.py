#!/usr/bin/env python3
"""Turns a Markdown document into one self-contained HTML page.

    markdown_page.py DOC.md PAGE.html    writes the page
    markdown_page.py --images DOC.md     lists the local pictures DOC.md shows

The page needs nothing beside it: pictures are embedded as data: URIs, and a
link to another file becomes its text, since that file is not there. Links
to a heading of the page itself stay links and must find their heading.

It reads the Markdown our documents are written in, not all of it: headings
(#), paragraphs, pipe tables, bullet and numbered lists (nested by indent),
fenced code blocks, code spans, links, images, emphasis and backslash
escapes. HTML in the text is shown as text. A table whose delimiter row
does not match its header is refused, as is a picture that is missing:
either would come out wrong without a word.
"""

import base64
import html
import os
import re
import sys

IMAGE_TYPES = {
    ".png": "image/png",
    ".jpg": "image/jpeg",
    ".jpeg": "image/jpeg",
    ".gif": "image/gif",
    ".svg": "image/svg+xml",
}

ESCAPABLE = set("\\`*_{}[]()#+-.!|<>\"'~=:;$%&,/?@^")

HEADING = re.compile(r"^(#{1,6})[ \t]+(.*?)[ \t]*#*[ \t]*$")
FENCE = re.compile(r"^ {0,3}(`{3,}|~{3,})[ \t]*([^`\s]*)")
BULLET = re.compile(r"^( *)([-*+]|\d{1,9}[.)])( +|$)")
DELIMITER_CELL = re.compile(r"^:?-+:?$")


class MarkdownError(Exception):
    pass


def slug(text):
    """The anchor GitHub gives a heading, so links written against the
    repository's rendering land on the same heading here."""
    text = text.strip().lower()
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def plain_text(markdown):
    """A heading's text as a reader sees it: no markup characters."""
    text = re.sub(r"!?\[([^\]]*)\]\([^)]*\)", r"\1", markdown)
    text = re.sub(r"\\(.)", r"\1", text)
    return text.replace("`", "").replace("*", "")


class Page:
    def __init__(self, source_dir):
        self.source_dir = source_dir
        self.slug_counts = {}
        self.ids = set()
        self.anchors_used = []
        self.images = []

    # ---- inline ---------------------------------------------------------

    def inline(self, text):
        out = []
        i = 0
        n = len(text)
        while i < n:
            c = text[i]
            if c == "\\" and i + 1 < n and text[i + 1] in ESCAPABLE:
                out.append(html.escape(text[i + 1]))
                i += 2
            elif c == "`":
                end, code = self.code_span(text, i)
                if end is None:
                    out.append(html.escape(code))
                else:
                    out.append("<code>" + html.escape(code) + "</code>")
                i = end if end is not None else i + len(code)
            elif c == "!" and text.startswith("![", i):
                parsed = self.bracketed(text, i + 1)
                if parsed is None:
                    out.append("!")
                    i += 1
                else:
                    label, target, i = parsed
                    out.append(self.image(plain_text(label), target))
            elif c == "[":
                parsed = self.bracketed(text, i)
                if parsed is None:
                    out.append("[")
                    i += 1
                else:
                    label, target, i = parsed
                    out.append(self.link(label, target))
            elif c in "*_":
                parsed = self.emphasis(text, i)
                if parsed is None:
                    run = len(text[i:]) - len(text[i:].lstrip(c))
                    out.append(c * run)
                    i += run
                else:
                    html_text, i = parsed
                    out.append(html_text)
            else:
                j = i + 1
                while j < n and text[j] not in "\\`![*_":
                    j += 1
                out.append(html.escape(text[i:j], quote=False))
                i = j
        return "".join(out)

    @staticmethod
    def code_span(text, start):
        """(end, code) of the code span opening at start; end is None when
        the run of backticks has no closing run of the same length."""
        run = len(text[start:]) - len(text[start:].lstrip("`"))
        fence = "`" * run
        pos = start + run
        while True:
            close = text.find(fence, pos)
            if close < 0:
                return None, fence
            after = close + run
            if after < len(text) and text[after] == "`":
                pos = after + len(text[after:]) - len(text[after:].lstrip("`"))
                continue
            code = text[start + run:close].replace("\n", " ")
            if len(code) > 1 and code[0] == " " and code[-1] == " " and code.strip():
                code = code[1:-1]
            return after, code

    @staticmethod
    def skip_code(text, i):
        """The position after a code span at i, or None when none opens."""
        end, _ = Page.code_span(text, i)
        return end

    def bracketed(self, text, start):
        """[label](target) at start: (label, target, end) or None."""
        depth = 0
        i = start
        while i < len(text):
            c = text[i]
            if c == "\\":
                i += 2
                continue
            if c == "`":
                end = self.skip_code(text, i)
                if end is not None:
                    i = end
                    continue
            if c == "[":
                depth += 1
            elif c == "]":
                depth -= 1
                if depth == 0:
                    break
            i += 1
        else:
            return None
        if not text.startswith("(", i + 1):
            return None
        close = text.find(")", i + 2)
        if close < 0:
            return None
        target = text[i + 2:close].strip()
        target = target.split()[0] if target else ""
        if target.startswith("<") and target.endswith(">"):
            target = target[1:-1]
        return text[start + 1:i], target, close + 1

    def emphasis(self, text, start):
        c = text[start]
        strong = text.startswith(c * 2, start)
        mark = c * (2 if strong else 1)
        inner_start = start + len(mark)
        if inner_start >= len(text) or text[inner_start].isspace():
            return None
        # An underscore inside a word (snake_case) is no emphasis.
        if c == "_" and start > 0 and text[start - 1].isalnum():
            return None
        i = inner_start
        while i < len(text):
            if text[i] == "\\":
                i += 2
                continue
            if text[i] == "`":
                end = self.skip_code(text, i)
                if end is not None:
                    i = end
                    continue
            if (text.startswith(mark, i) and i > inner_start
                    and not text[i - 1].isspace()
                    and not text.startswith(c, i + len(mark))):
                after = i + len(mark)
                if c == "_" and after < len(text) and text[after].isalnum():
                    i += 1
                    continue
                tag = "strong" if strong else "em"
                body = self.inline(text[inner_start:i])
                return "<%s>%s</%s>" % (tag, body, tag), after
            i += 1
        return None

    def image(self, alt, target):
        if re.match(r"^[a-z][a-z0-9+.-]*:", target, re.I):
            src = target
        else:
            path = os.path.normpath(os.path.join(self.source_dir, target))
            kind = IMAGE_TYPES.get(os.path.splitext(path)[1].lower())
            if kind is None:
                raise MarkdownError("picture of an unknown type: " + target)
            try:
                with open(path, "rb") as f:
                    data = f.read()
            except OSError as e:
                raise MarkdownError("picture %s: %s" % (target, e.strerror))
            self.images.append(target)
            src = "data:%s;base64,%s" % (kind, base64.b64encode(data).decode("ascii"))
        return '<img src="%s" alt="%s">' % (html.escape(src), html.escape(alt))

    def link(self, label, target):
        body = self.inline(label)
        if target.startswith("#"):
            self.anchors_used.append(target[1:])
        elif not re.match(r"^(https?|mailto):", target, re.I):
            # Another file: it does not travel with the page.
            return body
        return '<a href="%s">%s</a>' % (html.escape(target), body)

    # ---- blocks ---------------------------------------------------------

    def heading_id(self, text):
        base = slug(plain_text(text))
        count = self.slug_counts.get(base, 0)
        self.slug_counts[base] = count + 1
        anchor = base if count == 0 else "%s-%d" % (base, count)
        self.ids.add(anchor)
        return anchor

    def blocks(self, lines, first_line=1, tight=False):
        """HTML of a run of lines; first_line numbers them for errors. In a
        tight list item, paragraphs are written without <p>."""
        out = []
        i = 0
        n = len(lines)
        while i < n:
            line = lines[i]
            if not line.strip():
                i += 1
                continue
            fence = FENCE.match(line)
            heading = HEADING.match(line)
            if fence:
                marker, info = fence.group(1), fence.group(2)
                body = []
                i += 1
                while i < n and not lines[i].lstrip(" ").startswith(marker):
                    body.append(lines[i])
                    i += 1
                if i >= n:
                    raise MarkdownError("line %d: code block without its end" % (first_line + i - len(body) - 1))
                i += 1
                cls = ' class="language-%s"' % html.escape(info) if info else ""
                code = html.escape("\n".join(body) + ("\n" if body else ""), quote=False)
                out.append("<pre><code%s>%s</code></pre>" % (cls, code))
            elif heading:
                level = len(heading.group(1))
                text = heading.group(2)
                out.append('<h%d id="%s">%s</h%d>' % (
                    level, html.escape(self.heading_id(text)), self.inline(text), level))
                i += 1
            elif self.starts_table(lines, i):
                i = self.table(lines, i, first_line, out)
            elif BULLET.match(line):
                i = self.list_block(lines, i, first_line, out)
            else:
                para = []
                while i < n and lines[i].strip() and not self.interrupts(lines, i):
                    para.append(lines[i].strip())
                    i += 1
                text = self.inline("\n".join(para))
                out.append(text if tight else "<p>%s</p>" % text)
        return "\n".join(out)

    def interrupts(self, lines, i):
        line = lines[i]
        return bool(FENCE.match(line) or HEADING.match(line) or BULLET.match(line)
                    or self.starts_table(lines, i))

    @staticmethod
    def split_row(line):
        """A table row's cells; an escaped pipe, even in a code span, is part
        of its cell, as on GitHub."""
        row = line.strip()
        if row.startswith("|"):
            row = row[1:]
        if row.endswith("|") and not row.endswith("\\|"):
            row = row[:-1]
        cells = []
        cell = []
        i = 0
        while i < len(row):
            if row[i] == "\\" and i + 1 < len(row) and row[i + 1] == "|":
                cell.append("|")
                i += 2
                continue
            if row[i] == "|":
                cells.append("".join(cell).strip())
                cell = []
            else:
                cell.append(row[i])
            i += 1
        cells.append("".join(cell).strip())
        return cells

    def starts_table(self, lines, i):
        if i + 1 >= len(lines) or "|" not in lines[i]:
            return False
        delimiter = lines[i + 1].strip()
        if "|" not in delimiter and "-" not in delimiter:
            return False
        cells = self.split_row(delimiter)
        return all(DELIMITER_CELL.match(c) for c in cells) and "-" in delimiter

    def table(self, lines, i, first_line, out):
        header = self.split_row(lines[i])
        delimiter = self.split_row(lines[i + 1])
        if len(header) != len(delimiter):
            raise MarkdownError(
                "line %d: the table's header has %d cells but its delimiter row %d; "
                "such a table is not shown as a table"
                % (first_line + i, len(header), len(delimiter)))
        aligns = []
        for cell in delimiter:
            if cell.startswith(":") and cell.endswith(":"):
                aligns.append("center")
            elif cell.endswith(":"):
                aligns.append("right")
            elif cell.startswith(":"):
                aligns.append("left")
            else:
                aligns.append(None)

        def row_html(cells, tag):
            cells = (cells + [""] * len(aligns))[:len(aligns)]
            parts = []
            for cell, align in zip(cells, aligns):
                style = ' style="text-align:%s"' % align if align else ""
                parts.append("<%s%s>%s</%s>" % (tag, style, self.inline(cell), tag))
            return "<tr>" + "".join(parts) + "</tr>"

        rows = ["<table>", "<thead>", row_html(header, "th"), "</thead>", "<tbody>"]
        i += 2
        while i < len(lines) and lines[i].strip() and "|" in lines[i]:
            rows.append(row_html(self.split_row(lines[i]), "td"))
            i += 1
        rows += ["</tbody>", "</table>"]
        out.append("\n".join(rows))
        return i

    def list_block(self, lines, i, first_line, out):
        first = BULLET.match(lines[i])
        indent = len(first.group(1))
        ordered = first.group(2)[0].isdigit()
        items = []
        loose = False
        n = len(lines)
        while i < n:
            m = BULLET.match(lines[i])
            if not m or len(m.group(1)) != indent or m.group(2)[0].isdigit() != ordered:
                break
            content_indent = len(m.group(0)) if m.group(3) else len(m.group(0)) + 1
            start = i
            body = [lines[i][len(m.group(0)):]]
            i += 1
            blank_inside = False
            while i < n:
                line = lines[i]
                if not line.strip():
                    # A blank line continues the item only if indented text follows.
                    j = i
                    while j < n and not lines[j].strip():
                        j += 1
                    if j < n and len(lines[j]) - len(lines[j].lstrip(" ")) >= content_indent:
                        body.extend([""] * (j - i))
                        blank_inside = True
                        i = j
                        continue
                    break
                lead = len(line) - len(line.lstrip(" "))
                if lead >= content_indent:
                    body.append(line[content_indent:])
                elif BULLET.match(line) or self.interrupts(lines, i):
                    break
                else:
                    body.append(line.strip())  # a lazy continuation
                i += 1
            items.append((start, body))
            # A blank line between two items makes the list loose.
            if i < n and not lines[i].strip():
                j = i
                while j < n and not lines[j].strip():
                    j += 1
                m2 = BULLET.match(lines[j]) if j < n else None
                if m2 and len(m2.group(1)) == indent and m2.group(2)[0].isdigit() == ordered:
                    loose = True
                    i = j
                    continue
                break
            loose = loose or blank_inside
        tag = "ol" if ordered else "ul"
        start_attr = ""
        if ordered:
            number = int(first.group(2)[:-1])
            if number != 1:
                start_attr = ' start="%d"' % number
        parts = ["<%s%s>" % (tag, start_attr)]
        for start, body in items:
            parts.append("<li>%s</li>" % self.blocks(body, first_line + start, tight=not loose))
        parts.append("</%s>" % tag)
        out.append("\n".join(parts))
        return i


STYLE = """
body { font-family: "Segoe UI", Arial, sans-serif; font-size: 15px; line-height: 1.45;
       max-width: 60em; margin: 2em auto; padding: 0 1em; color: #1f2328; }
h1, h2, h3 { border-bottom: 1px solid #d8dee4; padding-bottom: .2em; }
code { font-family: Consolas, "Courier New", monospace; font-size: 90%;
       background: #f2f4f6; padding: .1em .3em; border-radius: 3px; }
pre { background: #f2f4f6; padding: .8em; overflow: auto; }
pre code { background: none; padding: 0; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #d0d7de; padding: .3em .6em; vertical-align: top; text-align: left; }
th { background: #f6f8fa; }
img { max-width: 100%; }
""".strip()


def render(markdown_path):
    with open(markdown_path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    page = Page(os.path.dirname(os.path.abspath(markdown_path)))
    body = page.blocks(lines)
    missing = sorted(set(a for a in page.anchors_used if a not in page.ids))
    if missing:
        raise MarkdownError("links to headings that do not exist: #" + ", #".join(missing))
    title = "Document"
    for line in lines:
        m = HEADING.match(line)
        if m:
            title = plain_text(m.group(2))
            break
    document = (
        "<!DOCTYPE html>\n"
        '<html lang="en">\n<head>\n<meta charset="utf-8">\n'
        "<title>%s</title>\n<style>\n%s\n</style>\n</head>\n<body>\n%s\n</body>\n</html>\n"
        % (html.escape(title), STYLE, body))
    return document, page.images


def main(argv):
    if len(argv) != 3:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    listing = argv[1] == "--images"
    source = argv[2] if listing else argv[1]
    try:
        document, images = render(source)
    except MarkdownError as e:
        print("markdown_page: %s: %s" % (source, e), file=sys.stderr)
        return 1
    if listing:
        for image in sorted(set(images)):
            print(image)
        return 0
    # Written aside and moved into place, so a failed run leaves no half page.
    temporary = argv[2] + ".tmp"
    with open(temporary, "w", encoding="utf-8", newline="\n") as f:
        f.write(document)
    os.replace(temporary, argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
