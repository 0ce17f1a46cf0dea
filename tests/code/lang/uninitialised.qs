#setting uninitialised_as_zero
#main
x = missing_variable
show_debug_message(string(x))
a[5] = 1
show_debug_message(string(a[7]))
show_debug_message(string((123456).y))
#expect
0
0
0
