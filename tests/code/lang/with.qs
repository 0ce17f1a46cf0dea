#instance 1 100002
#instance 1 100003
#instance 2 100004
#main
// self is instance 100001 of object 0
with (all) tag = 'i'
count = 0
with (1) other.count += 1
show_debug_message('instances of object 1: ' + string(count))
with (all) if (tag == 'i') other.count += 1
show_debug_message('after all: ' + string(count))
with (100004) show_debug_message('by id')
with (999999) show_debug_message('missing id')
with (noone) show_debug_message('noone')
with (-10) show_debug_message('below local')
with (self) show_debug_message('self')
with (other) show_debug_message('other')
// a break inside with (other) ends the loop around it
i = 0
while (i < 5) { i += 1; with (other) break }
show_debug_message('while ended at ' + string(i))
// writing through objects, ids and all; reading takes the first instance
(2).v = 3
with (2) show_debug_message('object write: ' + string(v))
(100003).w = 'third'
show_debug_message((100003).w)
all.z = 8
zsum = 0
with (all) other.zsum += z
show_debug_message('all write: ' + string(zsum))
(1).order = 1
show_debug_message('object read: ' + string((1).order))
names = 0
with (1) { other.names += 1; exit }
show_debug_message('not reached after exit')
#expect
instances of object 1: 2
after all: 6
by id
self
other
while ended at 1
object write: 3
third
all write: 32
object read: 1
