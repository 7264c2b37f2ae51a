Absatzwelle mit Bohrung
Billet Diam 32 mm, Alu
%
    N` G`   X `    Z `  F`  H 
    00 90                      Absolutwerte
    01M03                      Spindel ein
    02 00  3400    200         Anfahren
    03 84  2600 - 4000 120  50 Längsdrehen
    04 00  1600    200         
    05 01  1600     00  80     Fase
    06 01  2000 -  200  80     
    07 01  2000 - 1500  80     
    08 03  2600 - 1800  60     Radius 3
    09M99I   00K   300         
    10 01  2600 - 3000  80     
    11 02  3200 - 3300  60     Radius 3
    12M99I  300K    00         
    13 00  3400    200         
    14 25             L 20     Einstich
    15 00    00    200         Bohren
    16 83       - 2000  40     
    17 00  3400    500         
    18M05                      
    19M30                      
    20 00  3400 - 3600         
    21 86  2200 - 3600  30 300 Einstechen
    22 00  3400    200         
    23M17                      
   M
