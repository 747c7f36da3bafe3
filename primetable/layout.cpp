// placeholder until the layout routines land
