#script double
return argument0 * 2
#script last_assign
a = 5
#script empty
#script args
show_debug_message(string(argument0) + ' ' + argument1 + ' ' + string(argument2) + ' ' + string(argument15))
argument0 = 'changed'
#script count_down
if (argument0 <= 0) return 0
return 1 + count_down(argument0 - 1)
#script has_temp
var t;
t = 9
return t
#script inner_fail
x = 1 / argument0
#script outer_fail
inner_fail(0)
#script string
return 'never called'
#main
show_debug_message(string(double(4)))
show_debug_message(string(last_assign()))
show_debug_message(string(empty()))
argument0 = 'mine'
args(1, 'two')
show_debug_message(argument0)
show_debug_message(string(count_down(300)))
var t;
t = 1
has_temp()
show_debug_message('temporary kept: ' + string(t))
show_debug_message(string(string(5)))
outer_fail()
#expect
8
5
0
1 two 0 0
mine
300
temporary kept: 1
5
!! ERROR in
action number 1
of Create Event
for object obj-1:

In script outer_fail:
In script inner_fail:
Error in code at line 1:
   x = 1 / argument0

at position 9: Division by 0.
