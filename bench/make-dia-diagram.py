#!/usr/bin/env python3
"""Writes, on standard output, a Dia diagram of the same size and kind as the
benchmarks' 30,000-element diagram: 10,000 rounded boxes of 5 x 3 cm with a
centred text each, in a grid of 100 x 100 spaced 8 cm across and 5 cm down,
joined in reading order by 9,999 arrows. At 20 pixels per centimetre it
fills 16,040 x 10,040 pixels, the page of the Tresselby diagram."""
import sys

COLUMNS, ROWS = 100, 100
W, H, DX, DY, MARGIN = 5.0, 3.0, 8.0, 5.0, 1.0

out = sys.stdout
out.write('<?xml version="1.0" encoding="UTF-8"?>\n')
out.write('<dia:diagram xmlns:dia="http://www.lysator.liu.se/~alla/dia/">\n')
out.write('  <dia:layer name="Background" visible="true" active="true">\n')


def box(i, x, y):
    out.write(f'''    <dia:object type="Standard - Box" version="0" id="B{i}">
      <dia:attribute name="obj_pos"><dia:point val="{x},{y}"/></dia:attribute>
      <dia:attribute name="obj_bb"><dia:rectangle val="{x - 0.05},{y - 0.05};{x + W + 0.05},{y + H + 0.05}"/></dia:attribute>
      <dia:attribute name="elem_corner"><dia:point val="{x},{y}"/></dia:attribute>
      <dia:attribute name="elem_width"><dia:real val="{W}"/></dia:attribute>
      <dia:attribute name="elem_height"><dia:real val="{H}"/></dia:attribute>
      <dia:attribute name="show_background"><dia:boolean val="false"/></dia:attribute>
      <dia:attribute name="corner_radius"><dia:real val="0.5"/></dia:attribute>
    </dia:object>
    <dia:object type="Standard - Text" version="1" id="T{i}">
      <dia:attribute name="obj_pos"><dia:point val="{x + W / 2},{y + H / 2}"/></dia:attribute>
      <dia:attribute name="text">
        <dia:composite type="text">
          <dia:attribute name="string"><dia:string>#Caption#</dia:string></dia:attribute>
          <dia:attribute name="font"><dia:font family="sans" style="0" name="Helvetica"/></dia:attribute>
          <dia:attribute name="height"><dia:real val="0.6"/></dia:attribute>
          <dia:attribute name="pos"><dia:point val="{x + W / 2},{y + H / 2}"/></dia:attribute>
          <dia:attribute name="color"><dia:color val="#000000"/></dia:attribute>
          <dia:attribute name="alignment"><dia:enum val="1"/></dia:attribute>
        </dia:composite>
      </dia:attribute>
      <dia:attribute name="valign"><dia:enum val="2"/></dia:attribute>
    </dia:object>
''')


def arrow(i, a, b):
    (x1, y1), (x2, y2) = a, b
    out.write(f'''    <dia:object type="Standard - Line" version="0" id="L{i}">
      <dia:attribute name="obj_pos"><dia:point val="{x1},{y1}"/></dia:attribute>
      <dia:attribute name="obj_bb"><dia:rectangle val="{min(x1, x2) - 0.5},{min(y1, y2) - 0.5};{max(x1, x2) + 0.5},{max(y1, y2) + 0.5}"/></dia:attribute>
      <dia:attribute name="conn_endpoints"><dia:point val="{x1},{y1}"/><dia:point val="{x2},{y2}"/></dia:attribute>
      <dia:attribute name="line_color"><dia:color val="#ff0000"/></dia:attribute>
      <dia:attribute name="end_arrow"><dia:enum val="3"/></dia:attribute>
      <dia:attribute name="end_arrow_length"><dia:real val="0.5"/></dia:attribute>
      <dia:attribute name="end_arrow_width"><dia:real val="0.5"/></dia:attribute>
      <dia:connections>
        <dia:connection handle="0" to="B{i - 1}" connection="4"/>
        <dia:connection handle="1" to="B{i}" connection="3"/>
      </dia:connections>
    </dia:object>
''')


previous = None
for i in range(COLUMNS * ROWS):
    x = MARGIN + (i % COLUMNS) * DX
    y = MARGIN + (i // COLUMNS) * DY
    box(i, x, y)
    if previous is not None:
        px, py = previous
        arrow(i, (px + W, py + H / 2), (x, y + H / 2))
    previous = (x, y)
out.write('  </dia:layer>\n</dia:diagram>\n')
