# Shared look of the guide's pictures: white background, dark text and axes,
# lines thick enough for print and a phone screen. Called with `data` (the
# folder of the measured CSV files) and `out` (the PNG to write).
set terminal pngcairo size 760,440 enhanced font "Liberation Sans,12" linewidth 1.5 background "white"
set output out
set datafile separator ","
set border lc rgb "#333333"
set grid lc rgb "#d8d8d8" lw 1 dt 1
set key box opaque
set tics textcolor rgb "#222222"
