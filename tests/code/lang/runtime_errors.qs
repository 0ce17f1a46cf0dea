#setting short_errors
#main
execute_string("if ('a') x = 1")
execute_string("while ('a') x = 1")
execute_string("do x = 1 until 'a'")
execute_string("for (i = 0; 'a'; i += 1) x = 1")
execute_string("repeat ('a') x = 1")
execute_string("with ('a') x = 1")
execute_string("with (local) x = 1")
execute_string("with (global) x = 1")
execute_string("case 1: x = 1")
execute_string("default: x = 1")
execute_string(";")
execute_string("x = undefined_thing")
execute_string("a[5] = 1; x = a[3]; show_debug_message(string(x)); x = a[7]")
execute_string("b[2,5] = 1; show_debug_message(string(b[2,3])); x = b[1,0]")
execute_string("x = b[3,0]")
execute_string("x = a[-1]")
execute_string("x = a[32000]")
execute_string("x = a['i']")
execute_string("o = 'o'; x = o.y")
execute_string("s = 'a'; s += 1")
show_debug_message('s stays ' + s)
execute_string("fps = 1")
execute_string("id = 1")
execute_string("x = noone.y")
execute_string("noone.y = 1")
execute_string("x = (123456).y")
execute_string("(123456).y = 1")
execute_string("x = 1; y = x / (x - 1)")
execute_string("x = ")
show_debug_message('carried on')
#expect
!! at position 4: Expression expected
!! at position 7: Boolean expression expected
!! at position 4: Boolean expression expected
!! at position 5: Expression expected
!! at position 8: Repeat count must be a number
!! at position 6: Object id expected
!! at position 6: Cannot use local in with statement.
!! at position 6: Cannot use global in with statement.
!! at position 6: Case statement only allowed inside switch statement.
!! at position 8: Default statement only allowed inside switch statement.
!! at position 1: Statement expected.
!! at position 5: Unknown variable undefined_thing
0
!! at position 56: Unknown variable a or array index out of bounds
0
!! at position 53: Unknown variable b or array index out of bounds
!! at position 5: Unknown variable b or array index out of bounds
!! at position 7: Negative array index
!! at position 7: Array index >= 32000
!! at position 7: Wrong type of array index
!! at position 14: Wrong type of variable index
!! at position 15: Wrong type of arguments to +.
s stays a
!! at position 1: Cannot assign to the variable
!! at position 1: Cannot assign to the variable
!! at position 11: Unknown variable y
!! at position 1: Cannot assign to the variable
!! at position 14: Unknown variable y
!! at position 17: Division by 0.
!! at position 4: Unexpected symbol in expression.
carried on
