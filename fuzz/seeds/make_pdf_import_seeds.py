#!/usr/bin/env python3
"""Seeds of the PDF import fuzz target: small PDFs of the kinds the import reads (paths, curves,
a circle, texts in simple, Shift-JIS and Identity-H fonts with ToUnicode, a Form XObject, optional
content groups, a rotated page and an offset media box). Each seed starts with one byte that
picks the import settings. Usage: make_pdf_import_seeds.py OUTPUT_FOLDER"""
import os
import sys
import zlib


def pdf(objects, root=1):
    out = bytearray(b"%PDF-1.5\n")
    offsets = []
    for i, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % i + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for o in offsets:
        out += b"%010d 00000 n \n" % o
    out += b"trailer\n<< /Size %d /Root %d 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, root, xref)
    return bytes(out)


def stream(data, extra=b"", compress=True):
    if compress:
        data = zlib.compress(data)
        extra += b" /Filter /FlateDecode"
    return b"<< /Length %d%s >>\nstream\n" % (len(data), extra) + data + b"\nendstream"


def page_pdf(content, resources=b"<< >>", page_extra=b"", more=()):
    objs = [b"<< /Type /Catalog /Pages 2 0 R >>",
            b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
            b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R /Resources %s %s >>"
            % (resources, page_extra),
            stream(content)]
    objs.extend(more)
    return pdf(objs)


TOUNICODE = (b"/CIDInit /ProcSet findresource begin 12 dict begin begincmap\n"
             b"/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
             b"1 begincodespacerange <0000> <FFFF> endcodespacerange\n"
             b"2 beginbfrange <0001> <0003> <3042> <0010> <0012> [<0041> <0042> <0043>] endbfrange\n"
             b"endcmap end end\n")

SEEDS = {
    "paths": page_pdf(b"1 0 0 RG 2 w [3 2] 0 d 10 10 m 100 100 l S 20 20 30 40 re f q 2 0 0 2 0 0 cm "
                      b"0 0 m 10 10 20 10 30 0 c 5 5 v 8 8 y h S Q 0 0 1 rg 0.5 0.5 0.5 0.1 k b"),
    "circle": page_pdf(b"80 100 m 80 111.04 88.96 120 100 120 c 111.04 120 120 111.04 120 100 c "
                       b"120 88.96 111.04 80 100 80 c 88.96 80 80 88.96 80 100 c S"),
    "text": page_pdf(b"BT /F1 12 Tf 14 TL 100 700 Td (AB) Tj T* [(C) -120 (D)] TJ 1 Tc 50 Tz (E) ' ET",
                     b"<< /Font << /F1 5 0 R >> >>", more=[b"<< /Type /Font /Subtype /Type1 /BaseFont /Arial >>"]),
    "sjis": page_pdf(b"BT /F1 12 Tf 100 700 Td (\x82\xa0\x82\xa2) Tj ET",
                     b"<< /Font << /F1 5 0 R >> >>",
                     more=[b"<< /Type /Font /Subtype /Type0 /BaseFont /MS-Mincho /Encoding /90ms-RKSJ-V "
                           b"/DescendantFonts [6 0 R] >>",
                           b"<< /Type /Font /Subtype /CIDFontType2 /BaseFont /MS-Mincho /DW 1000 /W [843 [500]] >>"]),
    "identity": page_pdf(b"BT /F1 12 Tf 100 700 Td <00010002> Tj [<0010> -50 <0011>] TJ ET",
                         b"<< /Font << /F1 5 0 R >> >>",
                         more=[b"<< /Type /Font /Subtype /Type0 /BaseFont /ABCDEF+MS-Gothic /Encoding /Identity-H "
                               b"/DescendantFonts [6 0 R] /ToUnicode 7 0 R >>",
                               b"<< /Type /Font /Subtype /CIDFontType0 /BaseFont /MS-Gothic /CIDSystemInfo "
                               b"<< /Registry (Adobe) /Ordering (Japan1) /Supplement 6 >> /FontDescriptor 8 0 R >>",
                               stream(TOUNICODE),
                               b"<< /Type /FontDescriptor /CIDSet 9 0 R >>",
                               stream(b"\xff\xff")]),
    "form": page_pdf(b"q 1 0 0 1 50 50 cm /X1 Do Q /X1 Do",
                     b"<< /XObject << /X1 5 0 R /Im 6 0 R >> >>",
                     more=[stream(b"0 0 m 10 0 l S /X1 Do /Im Do",
                                  b" /Type /XObject /Subtype /Form /BBox [0 0 100 100] /Matrix [1 0 0 1 10 0] "
                                  b"/Resources << /XObject << /X1 5 0 R >> >>"),
                           stream(b"\x00\x00\x00", b" /Type /XObject /Subtype /Image /Width 1 /Height 1 "
                                  b"/BitsPerComponent 8 /ColorSpace /DeviceRGB", compress=False)]),
    "layers": page_pdf(b"/OC /oc1 BDC 0 0 m 10 0 l S EMC /OC /oc2 BDC q 0 0 m 0 10 l S EMC /P <</MCID 0>> BDC EMC "
                       b"/TouchUp_TextEdit MP",
                       b"<< /Properties << /oc1 5 0 R /oc2 6 0 R >> >>",
                       more=[b"<< /Type /OCG /Name (B) >>",
                             b"<< /Type /OCG /Name <FEFF001B6A61001B96FB6C17> >>"]),
    "rotated": page_pdf(b"100 100 m 200 200 l S", page_extra=b"/Rotate 90 /MediaBox [50 50 400 300]"),
    "type3": page_pdf(b"BT /F1 10 Tf (AB) Tj ET", b"<< /Font << /F1 5 0 R >> >>",
                      more=[b"<< /Type /Font /Subtype /Type3 /FirstChar 65 /LastChar 66 /Widths [500 250] "
                            b"/FontMatrix [0.001 0 0 0.001 0 0] /CharProcs << /a 6 0 R >> >>",
                            stream(b"0 0 m 1 1 l S")]),
}


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, data in SEEDS.items():
        for variant in (0, 0x1F):
            with open(os.path.join(folder, "%s-%02x.pdf" % (name, variant)), "wb") as f:
                f.write(bytes([variant]) + data)


if __name__ == "__main__":
    main()
