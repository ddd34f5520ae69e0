# Each factory program as a map of the stage: where its sources stand (circle
# size = width, hollow = switched off), and the output levels of the demo
# material through it.
load dir."/common.gp"
set terminal pngcairo size 760,900 enhanced font "Liberation Sans,11" linewidth 1.5 background "white"
set output out
f = data."/programs.csv"
stats f skip 1 using 1 nooutput
n = STATS_records
cols = 2
rows = int((n + cols - 1) / cols)
set multiplot layout rows, cols title "Factory programs: source positions and output levels of the demo material" font ",13"
set xrange [-70:70]
set yrange [-70:70]
set xtics 30
set ytics 30
set size ratio 0.55
set key off
set xlabel "azimuth (deg)" offset 0,0.5
set ylabel "elevation (deg)"
set arrow 1 from -30, graph 0 to -30, graph 1 nohead lc rgb "#5577aa" dt 2 lw 1
set arrow 2 from 30, graph 0 to 30, graph 1 nohead lc rgb "#5577aa" dt 2 lw 1
# Point size from width: 1.5 at 0 %, 4.5 at 100 %.
size(w) = 1.5 + 3.0 * w / 100.0
do for [i=0:n-1] {
    # The command is joined, not formatted: gnuplot's sprintf cuts long
    # results, and the data's path can be long.
    row = sprintf("%d", i + 2)
    set title system("awk -F, 'NR==" . row . " {gsub(/\"/,\"\",$2); printf \"%s: L %.1f dB, R %.1f dB\", $2, $(NF-1), $NF}' '" . f . "'")
    plot f skip 1 every ::i::i using 3:4:(size($5)):($6 > 0.5 ? 7 : 6) with points ps variable pt variable lc rgb "#1f5fbf", \
         f skip 1 every ::i::i using 3:4:("L") with labels offset 0,1.6 tc rgb "#1f5fbf" font ",10", \
         f skip 1 every ::i::i using 7:8:(size($9)):($10 > 0.5 ? 7 : 6) with points ps variable pt variable lc rgb "#c0392b", \
         f skip 1 every ::i::i using 7:8:("R") with labels offset 0,-1.6 tc rgb "#c0392b" font ",10"
}
unset multiplot
