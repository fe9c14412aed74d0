; Forms over several lines and several on a line, comments, escapes, quote, dotted pairs, integers and reals.
(list 1 ;| a comment
over lines |; 2
  "a\nb\t\\\"" 'sym '(1 . 2) (quote (a . (b c))))
(setq a 1) (setq b 2)
(list 2147483647 (+ 2147483647 1) 3000000000 -0.5 1e3 .5 T nil)
(list 'Abc (eq 'abc 'ABC) (type 'x) (type "s") (type 1) (type 1.0) (type '(1)) (type car))
(read "(x . \"y\")")
