# Level of each output as one source moves from left to right, at three
# elevations, with the span of the loudspeakers (±30 degrees) marked.
load dir."/common.gp"
set title "Pan law: output levels of one source as its azimuth moves"
set xlabel "Azimuth of the source (degrees, negative = left)"
set ylabel "Output level (dB re input)"
set xrange [-60:60]
set xtics 15
set yrange [-40:6]
set key outside right center vertical
set object 1 rect from -30, graph 0 to 30, graph 1 behind fc rgb "#eef3fa" fs solid 1.0 noborder
set arrow 1 from -30, graph 0 to -30, graph 1 nohead lc rgb "#5577aa" dt 2 lw 1.5
set arrow 2 from 30, graph 0 to 30, graph 1 nohead lc rgb "#5577aa" dt 2 lw 1.5
set label 1 "loudspeakers: pan law" at 0, graph 0.05 center textcolor rgb "#35507a"
set label 2 "delay network" at -45, graph 0.06 center textcolor rgb "#35507a"
set label 3 "delay network" at 45, graph 0.06 center textcolor rgb "#35507a"
f = data."/pan-law.csv"
plot f skip 1 using 2:($1==0 ? $3 : NaN) with lines lw 2.5 lc rgb "#1f5fbf" title "left, elevation 0", \
     f skip 1 using 2:($1==0 ? $4 : NaN) with lines lw 2.5 lc rgb "#c0392b" title "right, elevation 0", \
     f skip 1 using 2:($1==60 ? $3 : NaN) with lines lw 1.5 dt 2 lc rgb "#1f5fbf" title "left, elevation +60", \
     f skip 1 using 2:($1==60 ? $4 : NaN) with lines lw 1.5 dt 2 lc rgb "#c0392b" title "right, elevation +60", \
     f skip 1 using 2:($1==-60 ? $3 : NaN) with lines lw 1.5 dt 3 lc rgb "#1f5fbf" title "left, elevation -60", \
     f skip 1 using 2:($1==-60 ? $4 : NaN) with lines lw 1.5 dt 3 lc rgb "#c0392b" title "right, elevation -60"
