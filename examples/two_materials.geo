* Two materials in a 4 x 3 block: zone 1 below and zone 2 above a curved interface
* y = 1.5 + 0.6 sin(pi x / 2). The size file gives one size per geometry point.
DEBXYZ
* number of points, space dimension
45 2
0 0
4 0
4 3
0 3
0 1.5
0.1 1.593861
0.2 1.68541
0.3 1.772394
0.4 1.852671
0.5 1.924264
0.6 1.98541
0.7 2.034604
0.8 2.070634
0.9 2.092613
1 2.1
1.1 2.092613
1.2 2.070634
1.3 2.034604
1.4 1.98541
1.5 1.924264
1.6 1.852671
1.7 1.772394
1.8 1.68541
1.9 1.593861
2 1.5
2.1 1.406139
2.2 1.31459
2.3 1.227606
2.4 1.147329
2.5 1.075736
2.6 1.01459
2.7 0.9653961
2.8 0.9293661
2.9 0.907387
3 0.9
3.1 0.907387
3.2 0.9293661
3.3 0.9653961
3.4 1.01459
3.5 1.075736
3.6 1.147329
3.7 1.227606
3.8 1.31459
3.9 1.406139
4 1.5
FINXYZ
DEBILM
* number of borders
3
* the outline of zone 1, from the interface round the bottom
4 5 1 2 45 100 1 1
* the outline of zone 2, from the interface round the top
4 45 3 4 5 100 1 2
* the interface, shared by both zones
41 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31
32 33 34 35 36 37 38 39 40 41 42 43 44 45 100 2 1 2
FINILM
