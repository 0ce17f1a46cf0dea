#main
score = 'abc'
show_debug_message('score from a string: ' + string(score))
score = 2.5
show_debug_message('score rounded: ' + string(score))
lives = 3
lives = 0
lives = 0
health = 10
health = -1
argument[20] = 'slot zero'
show_debug_message(argument0)
argument[3] = 7
show_debug_message(string(argument3))
error_occurred = 0.5
show_debug_message('error_occurred: ' + string(error_occurred))
error_last = 'custom'
show_debug_message(error_last)
x = 5
show_debug_message('x through the host: ' + string(x))
alarm[9] = 2
show_debug_message('alarm 9: ' + string(alarm[9]))
show_debug_message('current_weekday in range: ' + string(current_weekday >= 1 && current_weekday <= 7))
show_debug_message('current_time is a number: ' + string(is_real(current_time)))
#expect
score from a string: 0
score rounded: 2
event 6
event 9
slot zero
7
error_occurred: 1
custom
x through the host: 5
alarm 9: 2
current_weekday in range: 1
current_time is a number: 1
