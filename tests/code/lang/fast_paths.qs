#setting short_errors
#script twice
return argument0 * 2
#script concat
return argument0 + argument1
#main
// The same statements once with numbers, once where the quick ways must give way.
var t, n, q;
t = 'a'
t += 'b'
show_debug_message(t)
n = 3
n += 1
n *= 2.5
n -= 1
n /= 3
show_debug_message(string(n))
show_debug_message(string(-n + 1))
show_debug_message(string(twice(n - 1)))
show_debug_message(concat('x', 'y'))
show_debug_message(string(twice(n) + twice(1)))
q[3] = 7
q[2, 5] = 4
show_debug_message(string(q[3] + q[2, 5] + q[0]))
with (self) show_debug_message(string(n + 1))
if (n - 3) show_debug_message('nonzero') else show_debug_message('zero')
execute_string("var r; r = 0; r /= 0")
execute_string("var u; u = 'x'; if (u < 2) v = 1")
execute_string("var w; w[5] = 1; x = w[7]")
execute_string("var z; z = z + 1")
execute_string("var k; k += 1")
execute_string("y = twice('s')")
// Globals read in place, and where they must give way.
global.g = 2
global.g += 3
global.g *= global.g - 1
show_debug_message(string(global.g))
if (global.g > 19 && global.g < 21) show_debug_message('twenty')
global.h = 'p'
global.h += 'q'
show_debug_message(global.h)
execute_string("global.h -= 1")
execute_string("global.none += 1")
execute_string("y = global.none2 * 2")
show_debug_message(global.h)
#expect
ab
3
-2
4
xy
8
11
4
zero
!! at position 20: Division by 0.
!! at position 25: Cannot compare arguments.
!! at position 22: Unknown variable w or array index out of bounds
!! at position 12: Unknown variable z
!! at position 8: Unknown variable k
!! at position 20: Wrong type of arguments to *.
20
twenty
pq
!! at position 13: Wrong type of arguments to -.
!! at position 8: Unknown variable none
!! at position 12: Unknown variable none2
pq
