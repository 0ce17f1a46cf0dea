#main
// if takes its branch only above 0.5; while loops at 0.5
a = 0
if 0.5 a = 1
show_debug_message('if 0.5: ' + string(a))
n = 0
w = 0.5
while (w) { n += 1; if (n == 3) w = 0 }
show_debug_message('while 0.5 rounds: ' + string(n))
// do until, for, repeat with halves to even
n = 0
do n += 1 until n >= 4
show_debug_message('do: ' + string(n))
s = ''
for (i = 0; i < 5; i += 1) { if (i == 1) continue; if (i == 3) break; s += string(i) }
show_debug_message('for: ' + s)
n = 0; repeat (-3) n += 1; show_debug_message('repeat -3: ' + string(n))
n = 0; repeat (2.5) n += 1; show_debug_message('repeat 2.5: ' + string(n))
n = 0; repeat (3.5) n += 1; show_debug_message('repeat 3.5: ' + string(n))
n = 0; repeat (10) { n += 1; if (n == 2) break }; show_debug_message('repeat break: ' + string(n))
// switch: fall-through, break, default before a matching case, kinds must match
a = 0; b = 0; c = 0
switch (2) { case 1: a = 1 case 2: b = 1 case 3: c = 1 }
show_debug_message('switch 2: ' + string(a) + string(b) + string(c))
a = 0; b = 0; c = 0
switch (2) { case 1: a = 1 case 2: b = 1 break case 3: c = 1 }
show_debug_message('switch break: ' + string(a) + string(b) + string(c))
a = 0; b = 0
switch (7) { default: a = 1 case 1: b = 1 }
show_debug_message('switch default: ' + string(a) + string(b))
a = 0
switch ('') { case 0: a = 1 }
show_debug_message('switch kinds: ' + string(a))
switch ('x') { case 'x': show_debug_message('switch string') }
// continue inside a switch continues the loop around it
n = 0; hits = 0
while (n < 3) { n += 1; switch (n) { case 2: continue } hits += 1 }
show_debug_message('continue through switch: ' + string(hits))
// both sides of || are evaluated
calls = 0
x = 1 || execute_string('calls += 1')
show_debug_message('no short circuit: ' + string(calls))
// the result of a run is its last return, assignment or call
show_debug_message('returned ' + string(execute_string('a = 4; return a * 2; a = 9')))
show_debug_message('assigned ' + string(execute_string('b = 5')))
show_debug_message('exit keeps ' + string(execute_string('b = 6; exit; b = 7')))
show_debug_message('compound ' + string(execute_string('s = 3; s *= 4')))
exit
show_debug_message('not reached')
#expect
if 0.5: 0
while 0.5 rounds: 3
do: 4
for: 02
repeat -3: 0
repeat 2.5: 2
repeat 3.5: 4
repeat break: 2
switch 2: 011
switch break: 010
switch default: 11
switch kinds: 0
switch string
continue through switch: 2
no short circuit: 1
returned 8
assigned 5
exit keeps 6
compound 12
