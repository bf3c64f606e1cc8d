#!/usr/bin/awk -f
# Writes a deterministic survey of a terrain as X,Y,Z lines: a grid of 500 x 400 points
# (200,000) over about 850 x 680 metres, with two hills, a winding valley between them and
# a gentle slope, so that the plot shows the whole colour ramp from the valley floor (dark
# blue) to the higher hilltop (near white). The same numbers on every run.
# Usage: awk -f terrain.awk > terrain.csv
function hill(x, y, cx, cy, height, spread) {
    return height * exp(-((x - cx) ^ 2 + (y - cy) ^ 2) / (2 * spread ^ 2))
}
BEGIN {
    columns = 500; rows = 400
    for (j = 0; j < rows; j++) {
        for (i = 0; i < columns; i++) {
            # Points stand a little off the grid, as a surveyor's would.
            jitterX = ((i * 7919 + j * 104729) % 97) / 97 * 0.8
            jitterY = ((i * 15485863 + j * 32452843) % 89) / 89 * 0.8
            x = i * 1.7 + jitterX
            y = j * 1.7 + jitterY
            z = 130 + 0.03 * x + 0.02 * y
            z += hill(x, y, 250, 470, 95, 110) + hill(x, y, 640, 220, 70, 90) + hill(x, y, 120, 120, 30, 60)
            # The valley winds from the south-west to the north-east.
            valley = y - (0.8 * x - 40 + 60 * sin(x / 90))
            z -= 55 * exp(-(valley ^ 2) / (2 * 45 ^ 2))
            z += 1.5 * sin(x / 7) * cos(y / 9)
            printf "%.2f,%.2f,%.2f\n", 512000 + x, 4102000 + y, z
        }
    }
}
