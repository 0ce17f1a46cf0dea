#main
x = 1 + 2 * 3
show_debug_message(string(x))
s = 'ab'
s += 'cd'
show_debug_message(s)
show_debug_message(string(3 * 'ab'))
if 0.5 show_debug_message('if taken') else show_debug_message('else taken')
i = 0
while (i < 3) { i += 1 }
show_debug_message(string(i))
#expect
7
abcd
ababab
else taken
3
