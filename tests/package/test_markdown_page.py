"""The page converter (scripts/markdown_page.py) on the Markdown our
reference is written in; scripts/package-check.sh runs these first."""

import base64
import os
import re
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "markdown_page.py")

PICTURE = b"\x89PNG\r\n\x1a\n not a real picture, but its bytes must arrive whole \x00\xff"


class MarkdownPage(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        os.mkdir(os.path.join(self.folder.name, "images"))
        for name in ("shown.png", "not-shown.png"):
            with open(os.path.join(self.folder.name, "images", name), "wb") as f:
                f.write(PICTURE)

    def run_converter(self, markdown, *options):
        source = os.path.join(self.folder.name, "doc.md")
        with open(source, "w", encoding="utf-8") as f:
            f.write(markdown)
        page = os.path.join(self.folder.name, "doc.html")
        arguments = list(options) + [source] if options else [source, page]
        done = subprocess.run([sys.executable, SCRIPT] + arguments, capture_output=True, text=True)
        output = done.stdout
        if done.returncode == 0 and not options:
            with open(page, encoding="utf-8") as f:
                output = f.read()
        return done.returncode, output, done.stderr

    def page(self, markdown):
        status, output, errors = self.run_converter(markdown)
        self.assertEqual(status, 0, errors)
        return output.split("<body>\n", 1)[1].split("\n</body>", 1)[0]

    def refused(self, markdown):
        page = os.path.join(self.folder.name, "doc.html")
        if os.path.exists(page):
            os.remove(page)
        status, _, errors = self.run_converter(markdown)
        self.assertEqual(status, 1)
        self.assertFalse(os.path.exists(page))
        return errors

    def test_table_cells_keep_escaped_pipes_and_a_mismatched_table_is_refused(self):
        body = self.page("| kind | value |\n|---|:-:|\n| `a\\|b` | x \\| y |\n| short |\n")
        self.assertEqual(body, "<table>\n<thead>\n<tr><th>kind</th><th style=\"text-align:center\">value</th></tr>\n"
                               "</thead>\n<tbody>\n"
                               "<tr><td><code>a|b</code></td><td style=\"text-align:center\">x | y</td></tr>\n"
                               "<tr><td>short</td><td style=\"text-align:center\"></td></tr>\n"
                               "</tbody>\n</table>")
        errors = self.refused("Text.\n\n| a | b |\n|---|---|---|\n| 1 | 2 |\n")
        self.assertIn("line 3", errors)

    def test_pictures_are_embedded_whole_and_only_shown_ones_are_listed(self):
        body = self.page("Look:\n\n![The shown <one>](images/shown.png)\n")
        embedded = re.search(r'<img src="data:image/png;base64,([^"]+)" alt="The shown &lt;one&gt;">', body)
        self.assertIsNotNone(embedded, body)
        self.assertEqual(base64.b64decode(embedded.group(1)), PICTURE)

        status, listed, _ = self.run_converter("![a](images/shown.png) and ![b](images/shown.png)\n", "--images")
        self.assertEqual((status, listed), (0, "images/shown.png\n"))

        self.assertIn("images/missing.png", self.refused("![gone](images/missing.png)\n"))

    def test_links_to_headings_stay_and_links_to_files_become_text(self):
        body = self.page("# Tessary_Version( versionFormat )\n\n## Input staging: A, B\n\n## Input staging: A, B\n\n"
                         "See [this](#input-staging-a-b-1), [that](#tessary_version-versionformat-), "
                         "[the source](../functions/version.cpp) and [the site](https://example.org/a?b=1&c).\n")
        self.assertIn('<h1 id="tessary_version-versionformat-">', body)
        self.assertIn('<h2 id="input-staging-a-b">', body)
        self.assertIn('<h2 id="input-staging-a-b-1">', body)
        self.assertIn('<p>See <a href="#input-staging-a-b-1">this</a>, <a href="#tessary_version-versionformat-">that'
                      '</a>, the source and <a href="https://example.org/a?b=1&amp;c">the site</a>.</p>', body)
        self.assertIn("#no-such-heading", self.refused("[where](#no-such-heading)\n"))

    def test_markup_characters_in_text_and_code_are_shown_as_written(self):
        body = self.page("A <b>tag</b> & `<object>&lt;` and \\*stars\\* in my_snake_case, `*.txt` too.\n\n"
                         "```text\n<title>A & B</title>\n\n  kept indented\n```\n")
        self.assertEqual(body, "<p>A &lt;b&gt;tag&lt;/b&gt; &amp; <code>&lt;object&gt;&amp;lt;</code> and *stars* "
                               "in my_snake_case, <code>*.txt</code> too.</p>\n"
                               '<pre><code class="language-text">&lt;title&gt;A &amp; B&lt;/title&gt;\n\n'
                               "  kept indented\n</code></pre>")

    def test_emphasis(self):
        body = self.page("**Loading.** The *first* and _second_ call, 2 * 3 * 4.\n")
        self.assertEqual(body, "<p><strong>Loading.</strong> The <em>first</em> and <em>second</em> call, "
                               "2 * 3 * 4.</p>")

    def test_nested_lists_with_continuation_lines_end_before_the_next_paragraph(self):
        body = self.page("- `columnTypes` has one\n  letter per column:\n  - `E`: an edit\n    box over it.\n"
                         "  - `C`: a list.\n- `columnValues`: lines.\n\nAfter.\n\n1. first\n2. second\n")
        self.assertEqual(body, "<ul>\n<li><code>columnTypes</code> has one\nletter per column:\n<ul>\n"
                               "<li><code>E</code>: an edit\nbox over it.</li>\n<li><code>C</code>: a list.</li>\n"
                               "</ul></li>\n<li><code>columnValues</code>: lines.</li>\n</ul>\n<p>After.</p>\n"
                               "<ol>\n<li>first</li>\n<li>second</li>\n</ol>")


if __name__ == "__main__":
    unittest.main()
