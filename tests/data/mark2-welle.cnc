%
   N00 G00 X 1250 Z   200 F    Start
   N01 G01 X  100 Z-  500 F100 
   N02 G22 X      Z       F    
   M
