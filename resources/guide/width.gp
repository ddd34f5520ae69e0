# What width does to a centred source: the outputs' correlation falls and
# the side signal rises.
load dir."/common.gp"
set title "Width: correlation of the outputs and level of the side signal"
set xlabel "Width (%)"
set ylabel "Correlation of left and right"
set y2label "Side level (dB re input)"
set xrange [0:100]
set yrange [*:1.05]
set y2range [-60:0]
set ytics nomirror
set y2tics 10
set key outside bottom center horizontal
set bmargin 6
f = data."/width.csv"
plot f skip 1 using ($1*100):3 with linespoints lw 2.5 pt 7 ps 0.8 lc rgb "#1f5fbf" title "correlation (left axis)", \
     f skip 1 using ($1*100):4 axes x1y2 with linespoints lw 2.5 pt 5 ps 0.8 lc rgb "#c0392b" title "side level (right axis)"
