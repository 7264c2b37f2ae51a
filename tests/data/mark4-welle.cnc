Welle Ø 25 mm
Alu
%
    N` G`   X `    Z `  F`  H 
    00 00  1250    200         Anfahren
    01 84  1000-  2000 100  50 Längsdrehen
    02M30                      
   M
