; Points and angles, and lengths and angles as text in each unit mode and back.
(list (polar '(1 1) (/ pi 2) 2) (polar '(0 0 5) 0 1) (distance '(0 0) '(3 4 9)) (distance '(0 0 0) '(3 4 12)) (angle '(0 0) '(-1 -1)))
(list (inters '(0 0) '(2 2) '(0 2) '(2 0)) (inters '(0 0) '(1 1) '(0 2) '(2 0)) (inters '(0 0) '(1 1) '(0 2) '(2 0) nil) (inters '(0 0) '(1 0) '(0 1) '(1 1)))
(list (rtos 1234.5 1 4) (rtos 1234.5 2 2) (rtos 1234.5 3 2) (rtos 1234.5 4 2) (rtos 1234.5 5 2) (rtos -0.125) (rtos 2.0 2 0))
(list (distof "1234.5") (distof "102'-10.50\"") (distof "102'-10 1/2\"") (distof "1234 1/2") (distof "1.2345E+03") (distof "abc"))
(list (angtos (/ pi 4) 0 2) (angtos 0.7896 1 4) (angtos (/ pi 4) 2 4) (angtos 1 3 4) (angtos (/ pi 3) 4 4) (angtos (* pi 1.25) 4 2) (angtos (- (/ pi 2))))
(list (angtof "45") (angtof "45d30'0\"" 1) (angtof "50g" 2) (angtof "1.5r" 3) (angtof "N 30d0'0\" E" 4) (angtof "S 45d W") (angtof "N"))
(list (trans '(1 2 3) 0 1) (trans '(1 0 0) 1 0 T))
; A mode or precision out of range named as the value given (SETVAR keeps the variables within range).
(mapcar '(lambda (f a) (vl-catch-all-error-message (vl-catch-all-apply f a))) '(rtos angtos) '((1.5 2 20) (1.5 9)))
