#!/usr/bin/env python3
"""Turns the message catalogue data file into the C++ table of the program.

Usage: generate_message_catalog.py INPUT.txt OUTPUT.cpp

INPUT: UTF-8, one entry per line: the decimal id, one tab, the text to the end of the line.
In a text, \\n stands for a line feed, \\t for a tab and \\\\ for one backslash; any other
backslash sequence is an error. Lines starting with '#' are comments. Ids must be unique and
ascending. The output is UTF-8 source; the compiler turns its literals into code page 932.
"""
import sys


def unescape(text, where):
    out = []
    i = 0
    while i < len(text):
        c = text[i]
        if c == '\\':
            nxt = text[i + 1] if i + 1 < len(text) else ''
            if nxt == 'n':
                out.append('\n')
            elif nxt == 't':
                out.append('\t')
            elif nxt == '\\':
                out.append('\\')
            else:
                sys.exit(f'{where}: unknown escape \\{nxt}')
            i += 2
            continue
        if ord(c) < 0x20:
            sys.exit(f'{where}: control character in text')
        out.append(c)
        i += 1
    return ''.join(out)


def c_literal(text):
    out = []
    for c in text:
        if c == '\\':
            out.append('\\\\')
        elif c == '"':
            out.append('\\"')
        elif c == '\n':
            out.append('\\n')
        elif c == '\t':
            out.append('\\t')
        elif c == '?':
            out.append('\\?')  # keeps "??x" from ever reading as a trigraph
        else:
            out.append(c)
    return '"' + ''.join(out) + '"'


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    src, dst = sys.argv[1], sys.argv[2]
    entries = []
    with open(src, encoding='utf-8', newline='') as f:
        for number, line in enumerate(f, 1):
            where = f'{src}:{number}'
            line = line.rstrip('\n')
            if line.endswith('\r'):
                sys.exit(f'{where}: carriage return in the data file')
            if line.startswith('#'):
                continue
            if '\t' not in line:
                sys.exit(f'{where}: no tab between id and text')
            id_text, text = line.split('\t', 1)
            if not id_text.isdigit():
                sys.exit(f'{where}: bad id {id_text!r}')
            ident = int(id_text)
            if entries and ident <= entries[-1][0]:
                sys.exit(f'{where}: id {ident} is not above {entries[-1][0]}')
            value = unescape(text, where)
            try:
                value.encode('cp932')
            except UnicodeEncodeError:
                sys.exit(f'{where}: text has a character outside code page 932')
            entries.append((ident, value))
    lines = [
        '// Generated from MessageCatalog.txt by scripts/generate_message_catalog.py: do not edit.',
        '#include "core/MessageCatalog.h"',
        '',
        '// Each text is an array of its own, so equal texts under different ids stay separate.',
    ]
    lines += [f'static const char text{ident}[] = {c_literal(value)};' for ident, value in entries]
    lines += ['', 'const MessageCatalogEntry MessageCatalog[] = {']
    lines += [f'    {{{ident}, text{ident}}},' for ident, value in entries]
    lines += [
        '};',
        '',
        'const int MessageCatalogCount = static_cast<int>(sizeof(MessageCatalog) / sizeof(MessageCatalog[0]));',
        '',
    ]
    content = '\n'.join(lines)
    with open(dst, 'w', encoding='utf-8', newline='\n') as f:
        f.write(content)


if __name__ == '__main__':
    main()
